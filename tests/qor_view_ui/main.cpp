// qor-view's tests start wx as the window tests do.
#include "../render_ui/main.cpp"
