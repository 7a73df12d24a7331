#!/usr/bin/env bash
# The window as a screen reader reads it: the program on an accessibility bus of the test's
# own session, read and driven by accessibility_test.py.
#   accessibility_test.sh PATH/TO/Varnex2010
if [[ -z ${VARNEX_TEST_SESSION_BUS:-} ]]; then
  export VARNEX_TEST_SESSION_BUS=1
  exec dbus-run-session -- "$0" "$@"
fi
program=$1
source "$(dirname "$0")/x_session.sh"

launcher=
for candidate in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
  [[ -x $candidate ]] && launcher=$candidate && break
done
[[ -n $launcher ]] || fail "no at-spi-bus-launcher (package at-spi2-core)"
"$launcher" --launch-immediately >"$work/bus.log" 2>&1 &
bus_pid=$!
trap 'kill "$bus_pid" 2>/dev/null || true; cleanup' EXIT

# 3.5 MiB of text, then 64 GiB of NULs stored sparse, which keep the job running until it
# is cancelled
mkdir -p "$XDG_CONFIG_HOME/varnex2010" "$work/texts"
head -c 3670016 /dev/urandom | tr -d '\000' >"$work/texts/long.txt"
truncate -s +64G "$work/texts/long.txt"
printf '[varnex2010]\nwindowtop=1500\nwindowleft=3000\nfontold=KOI8-R\nfontnew=Windows-1251\n' \
  >"$XDG_CONFIG_HOME/varnex2010/varnex2010.conf"

QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" >"$work/program.log" 2>&1 &
app_pid=$!
timeout 180 /usr/bin/python3 "$(dirname "$0")/accessibility_test.py" "$work" || fail "as read through pyatspi"
wait_for_exit "$app_pid" || fail "the press action on Exit did not end the program"
app_pid=
