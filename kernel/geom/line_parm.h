#pragma once

#include "qor/kernel/base/array_templ.h"

/// Line-type parameters: a dash array in drawing units. A positive entry is a dash, a negative entry a
/// gap of its absolute length, a zero entry a dot. The two-double form is the common dash-and-gap (or
/// dot-and-gap) pattern. An array with fewer than two entries, or without a gap, draws a continuous line.
class CQorLineParm {
public:
    CQorLineParm() = default;
    CQorLineParm(double first, double second) : m_dashes{first, second} {}
    explicit CQorLineParm(const CQorArrayTempl<double>& dashes) : m_dashes(dashes) {}
    /// Takes dashes as the dash array, reusing the room of the one before.
    void assign(const CQorArrayTempl<double>& dashes) { m_dashes = dashes; }

    const CQorArrayTempl<double>& dashes() const { return m_dashes; }
    int len() const { return m_dashes.len(); }
    double operator[](int i) const { return m_dashes[i]; }

    /// Sum of the absolute entries: the length one repetition of the pattern covers.
    double patternLength() const {
        double sum = 0.0;
        for (double d : m_dashes)
            sum += d < 0.0 ? -d : d;
        return sum;
    }
    /// True when the pattern leaves no gap (fewer than two entries, or no negative entry).
    bool isContinuous() const {
        if (m_dashes.len() < 2) return true;
        for (double d : m_dashes)
            if (d < 0.0) return false;
        return true;
    }

private:
    CQorArrayTempl<double> m_dashes;
};
