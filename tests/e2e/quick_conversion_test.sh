#!/usr/bin/env bash
# A click on Quick Conversion converts the clipboard of the real X server from KOI8-R to
# Windows-1251, and the success box is answered with Enter.
#   quick_conversion_test.sh PATH/TO/Varnex2010
program=$1
source "$(dirname "$0")/x_session.sh"

mkdir -p "$XDG_CONFIG_HOME/varnex2010"
printf '[varnex2010]\nwindowtop=1500\nwindowleft=3000\nfontold=KOI8-R\nfontnew=Windows-1251\n' \
  >"$XDG_CONFIG_HOME/varnex2010/varnex2010.conf"

"$program" >"$work/program.log" 2>&1 &
app_pid=$!
window=$(wait_for_window "Varnex 2010") || fail "no main window"

# "Привет, мир" typed in KOI8-R, as the 8-bit codes reach a Windows-1252 clipboard
printf '\xF0\xD2\xC9\xD7\xC5\xD4, \xCD\xC9\xD2' | iconv -f LATIN1 -t UTF-8 | xclip -selection clipboard -i
expected=$(printf '\xCF\xF0\xE8\xE2\xE5\xF2, \xEC\xE8\xF0' | iconv -f LATIN1 -t UTF-8)

xdotool mousemove --window "$window" 145 318 click 1
box=$(wait_for_window "Varnex 2010" "$window") || fail "no message box after the click"
[[ $(xclip -selection clipboard -o) == "$expected" ]] || fail "clipboard holds: $(xclip -selection clipboard -o)"
press_keys "$box" Return

# after the box is closed the lock cools down; Esc in the main window ends the program
press_keys "$window" Escape
wait_for_exit "$app_pid" || fail "Esc did not end the program"
app_pid=
echo "quick conversion: clipboard converted from KOI8-R to Windows-1251"
