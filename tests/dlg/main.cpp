// The window tests' main is the one of the view windows' tests: wx started once, wx assertions failing
// the test that caused them.
#include "../render_ui/main.cpp"
