# Steps shared by the end-to-end tests of a running file job. Source it after x_session.sh.

# Starts the program with KOI8-R -> Windows-1251 chosen; sets app_pid and window. The steps
# begin once the advert panel's tick (3 s after the start) is past, so that they do not race
# it: a window that is created anew then is followed, or 8 s pass.
start_program_with_fonts() {
  mkdir -p "$XDG_CONFIG_HOME/varnex2010"
  printf '[varnex2010]\nwindowtop=1500\nwindowleft=3000\nfontold=KOI8-R\nfontnew=Windows-1251\n' \
    >"$XDG_CONFIG_HOME/varnex2010/varnex2010.conf"
  "$@" >"$work/program.log" 2>&1 &
  app_pid=$!
  local first
  first=$(wait_for_window "Varnex 2010") || fail "no main window"
  for _ in $(seq 80); do
    window=$(wait_for_window "Varnex 2010") || fail "no main window"
    [[ $window != "$first" ]] && break
    sleep 0.1
  done
  sleep 0.3
}

# Chooses the file in the real open-file dialog.
choose_source() {
  xdotool mousemove --window "$window" 248 82 click 1
  local dialog
  dialog=$(wait_for_window "Select a Plain Text file for conversion") || fail "no open-file dialog"
  # keys typed before the dialog has its focus are lost on a busy machine: type again then
  for _ in 1 2 3; do
    sleep 0.3
    xdotool windowactivate --sync "$dialog" >/dev/null 2>&1 || true
    xdotool key ctrl+a
    xdotool type --delay 5 "$1"
    xdotool key Return
    for _ in $(seq 60); do xdotool getwindowname "$dialog" >/dev/null 2>&1 || break; sleep 0.05; done
    xdotool getwindowname "$dialog" >/dev/null 2>&1 || return 0
  done
  fail "the open-file dialog did not take the name"
}

# Clicks Start and accepts the proposed name.
start_job() {
  xdotool mousemove --window "$window" 145 261 click 1
  local prompt
  prompt=$(wait_for_window "Save as..") || fail "no name prompt"
  for _ in 1 2 3; do
    sleep 0.3
    press_keys "$prompt" Return
    for _ in $(seq 60); do xdotool getwindowname "$prompt" >/dev/null 2>&1 || return 0; sleep 0.05; done
  done
  fail "the name prompt did not close"
}

# Waits up to 30 s for a progress caption of at most $1 per cent and prints it.
wait_for_progress_below() {
  local caption
  for _ in $(seq 3000); do
    caption=$(xdotool getwindowname "$window" 2>/dev/null || true)
    if [[ $caption =~ ^Remaining:\ ([0-9.]+)%$ ]] &&
      awk -v r="${BASH_REMATCH[1]}" -v limit="$1" 'BEGIN { exit !(r <= limit) }'; then
      echo "$caption"
      return 0
    fi
    sleep 0.01
  done
  return 1
}

# Fails unless $1 is a prefix of $2.
expect_prefix() {
  local size
  size=$(stat -c %s "$1")
  cmp -s -n "$size" "$1" "$2" || fail "$1 ($size bytes) is not a prefix of the expected conversion"
}
