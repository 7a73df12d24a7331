#!/usr/bin/env bash
# The real window dragged by its title bar with the pointer lands where the pointer took it,
# on screen and in the settings file; the help window opens from "?" and Esc closes it.
#   drag_help_test.sh PATH/TO/Varnex2010
program=$1
source "$(dirname "$0")/x_session.sh"

settings=$XDG_CONFIG_HOME/varnex2010/varnex2010.conf
mkdir -p "$(dirname "$settings")"
printf '[varnex2010]\nwindowtop=1500\nwindowleft=3000\n' >"$settings"

# The window is created anew when the advert panel arrives (3 s after the start, when the
# window starts composing the web view): look it up again before each use.
main_window() { wait_for_window "Varnex 2010" || fail "no window titled Varnex 2010"; }

"$program" >"$work/program.log" 2>&1 &
app_pid=$!
grep -q "Position: 200,100" <<<"$(xdotool getwindowgeometry "$(main_window)")" || fail "not at 200,100"

# press on the title bar 100,10 into the window, move 120 right and 80 down in steps, release
xdotool mousemove 300 110 mousedown 1
for step in 1 2 3 4; do
  xdotool mousemove $((300 + 30 * step)) $((110 + 20 * step))
  sleep 0.05
done
sleep 0.2
xdotool mouseup 1
for _ in $(seq 100); do
  grep -qi '^windowtop=2700$' "$settings" && break
  sleep 0.05
done
geometry=$(xdotool getwindowgeometry "$(main_window)")
grep -q "Position: 320,180" <<<"$geometry" || fail "after the drag: $geometry"
grep -qi '^windowleft=4800$' "$settings" || fail "stored left: $(cat "$settings")"
grep -qi '^windowtop=2700$' "$settings" || fail "stored top: $(cat "$settings")"

# "?" lies at 248,305 (27 x 27 pixels) in the window
xdotool mousemove --window "$(main_window)" 261 318 click 1
help=$(wait_for_window "About Varnex") || fail "no help window after a click on ?"
press_keys "$help" Escape
for _ in $(seq 100); do
  xdotool search --onlyvisible --name '^About Varnex$' >/dev/null 2>&1 || break
  sleep 0.05
done
xdotool search --onlyvisible --name '^About Varnex$' >/dev/null 2>&1 && fail "Esc left the help window open"
kill -0 "$app_pid" || fail "closing the help window ended the program"

press_keys "$(main_window)" Escape
wait_for_exit "$app_pid" || fail "Esc did not end the program"
wait "$app_pid" || fail "the program ended with status $?"
app_pid=
echo "drag and help: window dragged to 320,180 and stored as 4800,2700; help opened and closed"
