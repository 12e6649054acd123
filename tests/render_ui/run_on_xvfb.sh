#!/usr/bin/env bash
# Runs a window test program on a virtual X server of its own: a 24-bit screen, so that a screenshot
# holds the exact pixels painted; GTK on X11 with a fixed theme and no accessibility bus; settings and
# runtime folders in a temporary place. With a sanitizer build, LeakSanitizer skips the leaks GTK keeps
# on purpose (lsan_gtk.supp). A missing Xvfb fails the run.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -m 700 "$scratch/runtime" "$scratch/config"
export GDK_BACKEND=x11 GTK_THEME=Adwaita NO_AT_BRIDGE=1
export XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch/runtime"
export LSAN_OPTIONS="suppressions=$here/lsan_gtk.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
xvfb-run -a -f "$scratch/Xauthority" -s "-screen 0 1280x1024x24" "$@"
