#!/usr/bin/env bash
# The quick conversion with the Unicode font on one side, through the clipboard of the real
# X server: Cyrillic typed as Unicode to KOI8-R (to-codes), or KOI8-R to Unicode (to-unicode).
#   quick_unicode_test.sh PATH/TO/Varnex2010 to-codes|to-unicode
program=$1
direction=$2
source "$(dirname "$0")/x_session.sh"

unicode='Привет, мир'
# the same text typed in KOI8-R, as its 8-bit codes reach the clipboard (Windows-1252)
koi8=$(printf '\xF0\xD2\xC9\xD7\xC5\xD4, \xCD\xC9\xD2' | iconv -f LATIN1 -t UTF-8)
case $direction in
  to-codes) fonts='fontold=UTF-8\nfontnew=KOI8-R' given=$unicode expected=$koi8 ;;
  to-unicode) fonts='fontold=KOI8-R\nfontnew=UTF-8' given=$koi8 expected=$unicode ;;
  *) fail "unknown direction $direction" ;;
esac

mkdir -p "$XDG_CONFIG_HOME/varnex2010"
printf "[varnex2010]\nwindowtop=1500\nwindowleft=3000\n$fonts\n" >"$XDG_CONFIG_HOME/varnex2010/varnex2010.conf"

"$program" >"$work/program.log" 2>&1 &
app_pid=$!
window=$(wait_for_window "Varnex 2010") || fail "no main window"

printf '%s' "$given" | xclip -selection clipboard -i
xdotool mousemove --window "$window" 145 318 click 1
box=$(wait_for_window "Varnex 2010" "$window") || fail "no message box after the click"
[[ $(xclip -selection clipboard -o) == "$expected" ]] || fail "clipboard holds: $(xclip -selection clipboard -o)"
press_keys "$box" Return
press_keys "$window" Escape
wait_for_exit "$app_pid" || fail "Esc did not end the program"
app_pid=
echo "quick conversion $direction: the clipboard holds \"$expected\""
