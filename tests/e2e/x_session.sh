# Shared by the end-to-end tests: a private X server with a window manager, and a settings
# folder of the test's own. Source it; it sets DISPLAY and XDG_CONFIG_HOME.
set -euo pipefail
work=$(mktemp -d)
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

exec 5>"$work/display"
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.05; done
export DISPLAY=":$(cat "$work/display")"
openbox >"$work/openbox.log" 2>&1 &
wm_pid=$!
for _ in $(seq 200); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.05
done

cleanup() {
  [[ -n ${app_pid:-} ]] && kill "$app_pid" 2>/dev/null || true
  kill "$wm_pid" "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAILED: $*" >&2
  cat "$work/program.log" >&2 2>/dev/null || true
  exit 1
}

# Waits up to 10 s for a window of the program with exactly this title (other than the
# window given second, if any) and prints its id.
wait_for_window() {
  local id
  for _ in $(seq 200); do
    for id in $(xdotool search --classname '^Varnex2010$' 2>/dev/null || true); do
      [[ $id == "${2:-}" ]] && continue
      if [[ $(xdotool getwindowname "$id" 2>/dev/null) == "$1" ]]; then
        echo "$id"
        return 0
      fi
    done
    sleep 0.05
  done
  return 1
}

# Makes the window the active one and presses keys in it.
press_keys() {
  local window=$1
  shift
  xdotool windowactivate --sync "$window" >/dev/null 2>&1 || xdotool windowfocus --sync "$window"
  xdotool key --clearmodifiers "$@"
}

# Waits up to 5 s for a process to end.
wait_for_exit() {
  for _ in $(seq 100); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.05; done
  return 1
}
