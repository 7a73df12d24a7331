#!/usr/bin/env bash
# Runs a test program inside a private X server with a window manager.
#   run_under_x.sh PROGRAM [ARGS...]
source "$(dirname "$0")/../e2e/x_session.sh"
"$@"
