#!/usr/bin/env bash
# A whole file job through the real dialogs: the file is chosen in the open-file dialog,
# the proposed name is accepted, the completion message is closed, and the new file holds
# the converted text.   file_job_test.sh PATH/TO/Varnex2010
program=$1
source "$(dirname "$0")/x_session.sh"
source "$(dirname "$0")/file_job_steps.sh"

mkdir -p "$XDG_CONFIG_HOME/varnex2010" "$work/texts"
printf '[varnex2010]\nwindowtop=1500\nwindowleft=3000\nfontold=KOI8-R\nfontnew=Windows-1251\n' \
  >"$XDG_CONFIG_HOME/varnex2010/varnex2010.conf"
printf '\xF0\xD2\xC9\xD7\xC5\xD4\n' >"$work/texts/letter.txt"

"$program" >"$work/program.log" 2>&1 &
app_pid=$!
window=$(wait_for_window "Varnex 2010") || fail "no main window"

choose_source "$work/texts/letter.txt"

xdotool mousemove --window "$window" 145 261 click 1
prompt=$(wait_for_window "Save as..") || fail "no name prompt"
done_box=
for _ in 1 2 3; do
  sleep 0.3
  press_keys "$prompt" Return
  done_box=$(wait_for_window "Varnex") && break
done
[[ -n $done_box ]] || fail "no completion message"
[[ $(od -An -tx1 "$work/texts/letter_Windows-1251.txt" | tr -d ' \n') == cff0e8e2e5f20a ]] ||
  fail "new file holds: $(od -An -tx1 "$work/texts/letter_Windows-1251.txt")"
press_keys "$done_box" Return
window=$(wait_for_window "Varnex 2010") || fail "the caption did not come back"

press_keys "$window" Escape
wait_for_exit "$app_pid" || fail "Esc did not end the program"
app_pid=
echo "file job: letter.txt converted into letter_Windows-1251.txt"
