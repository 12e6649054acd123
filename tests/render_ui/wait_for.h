#pragma once

// What every window test needs: events pumped until the window has done what it was asked.

#include <wx/app.h>
#include <wx/stopwatch.h>
#include <wx/utils.h>

namespace qor_test {

/// Pumps events until done() holds or two seconds pass; the result of done() at the end.
template <class F>
bool waitFor(F done) {
    wxStopWatch clock;
    while (!done() && clock.Time() < 2000) {
        wxYield();
        wxMilliSleep(5);
    }
    return done();
}

} // namespace qor_test
