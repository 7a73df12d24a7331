#!/usr/bin/env bash
# With a display and no setup log, the launcher shows its message box; Enter closes it and
# the launcher ends.   uninstaller_test.sh PATH/TO/Uninstaller
launcher=$1
source "$(dirname "$0")/x_session.sh"

mkdir -p "$work/tool"
cp "$launcher" "$work/tool/Uninstaller"
"$work/tool/Uninstaller" >"$work/program.log" 2>&1 &
app_pid=$!
box=
for _ in $(seq 200); do
  box=$(xdotool search --name '^Uninstaller$' 2>/dev/null | head -1 || true)
  [[ -n $box ]] && break
  sleep 0.05
done
[[ -n $box ]] || fail "no message box titled Uninstaller"
press_keys "$box" Return
wait_for_exit "$app_pid" || fail "the launcher did not end after OK"
app_pid=
echo "uninstaller: message shown without a log, ended after OK"
