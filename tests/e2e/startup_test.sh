#!/usr/bin/env bash
# The real program starts at its stored position, 600 x 380, titled "Varnex 2010", and Esc
# ends it.   startup_test.sh PATH/TO/Varnex2010
program=$1
source "$(dirname "$0")/x_session.sh"

mkdir -p "$XDG_CONFIG_HOME/varnex2010"
printf '[varnex2010]\nwindowtop=1500\nwindowleft=3000\nfontold=MIK\n' >"$XDG_CONFIG_HOME/varnex2010/varnex2010.conf"

"$program" >"$work/program.log" 2>&1 &
app_pid=$!
window=$(wait_for_window "Varnex 2010") || fail "no window titled Varnex 2010"
geometry=$(xdotool getwindowgeometry "$window")
grep -q "Geometry: 600x380" <<<"$geometry" || fail "window size: $geometry"
grep -q "Position: 200,100" <<<"$geometry" || fail "window position: $geometry"

press_keys "$window" Escape
wait_for_exit "$app_pid" || fail "Esc did not end the program"
wait "$app_pid" || fail "the program ended with status $?"
app_pid=
echo "startup: window found at 200,100 and ended by Esc"

# a conversion path forced through the environment that this processor lacks: one clear line
message=$(VARNEX_VECTOR=sse9 "$program" 2>&1) && fail "VARNEX_VECTOR=sse9 started the program"
grep -q '^Varnex2010: .*VARNEX_VECTOR' <<<"$message" || fail "VARNEX_VECTOR=sse9 said: $message"
