#!/usr/bin/env bash
# The dialog tests run on the same virtual X server set-up as the view windows' tests.
exec "$(cd "$(dirname "$0")" && pwd)/../render_ui/run_on_xvfb.sh" "$@"
