#!/usr/bin/env bash
# A click on Quick Conversion converts the clipboard of the real X server, and the success box
# is answered with Enter: from KOI8-R to Windows-1251 (the codes travel as Windows-1252),
# from Cyrillic typed as Unicode to KOI8-R (to-codes), or from KOI8-R to Unicode (to-unicode).
#   quick_conversion_test.sh PATH/TO/Varnex2010 [to-codes|to-unicode]
program=$1
direction=${2:-codes}
source "$(dirname "$0")/x_session.sh"

# "Привет, мир" typed in KOI8-R and in Windows-1251, as their 8-bit codes reach the clipboard
koi8=$(printf '\xF0\xD2\xC9\xD7\xC5\xD4, \xCD\xC9\xD2' | iconv -f LATIN1 -t UTF-8)
cp1251=$(printf '\xCF\xF0\xE8\xE2\xE5\xF2, \xEC\xE8\xF0' | iconv -f LATIN1 -t UTF-8)
unicode='Привет, мир'
case $direction in
  codes) fonts='fontold=KOI8-R\nfontnew=Windows-1251' given=$koi8 expected=$cp1251 ;;
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

# after the box is closed the lock cools down; Esc in the main window ends the program
press_keys "$window" Escape
wait_for_exit "$app_pid" || fail "Esc did not end the program"
app_pid=
echo "quick conversion ($direction): the clipboard holds \"$expected\""
