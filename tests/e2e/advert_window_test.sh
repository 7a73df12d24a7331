#!/usr/bin/env bash
# The main window keeps its one native window across the advert's arrival: minimised before
# the advert is due, it stays minimised and keeps its id, whether the advert server answers
# or cannot be reached. The web engine reaches the maker's host through a proxy on 127.0.0.1:
# the advert server itself, or a closed port.   advert_window_test.sh PATH/TO/Varnex2010
program=$1
source "$(dirname "$0")/x_session.sh"

# An advert server on 127.0.0.1 that logs each request to a file.
python3 - "$work" >"$work/server.log" 2>&1 <<'PY' &
import http.server, sys
work = sys.argv[1]
class Advert(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        with open(work + "/requests", "a") as log: log.write(self.path + "\n")
        body = b"<html><body style='background:#fc0'><h1>Advert</h1></body></html>"
        self.send_response(200)
        self.send_header("Content-Type", "text/html")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)
    def log_message(self, *args): pass
server = http.server.HTTPServer(("127.0.0.1", 0), Advert)
open(work + "/port", "w").write(str(server.server_port))
server.serve_forever()
PY
server_pid=$!
trap 'kill $server_pid 2>/dev/null || true; cleanup' EXIT
for _ in $(seq 100); do [[ -s $work/port ]] && break; sleep 0.05; done
[[ -s $work/port ]] || fail "the advert server did not start"
closed_port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')

window_state() { xprop -id "$1" WM_STATE 2>/dev/null | sed -n 's/.*window state: //p'; }
wait_for_state() {
  for _ in $(seq 100); do [[ $(window_state "$1") == "$2" ]] && return 0; sleep 0.05; done
  return 1
}

# Starts the program with its web proxy at 127.0.0.1:PORT, minimises it at once and
# checks the window across the advert's tick.
check_across_the_tick() {
  local port=$1 what=$2 window id count
  QTWEBENGINE_CHROMIUM_FLAGS="--proxy-server=http://127.0.0.1:$port" \
    "$program" >"$work/program.log" 2>&1 &
  app_pid=$!
  window=$(wait_for_window "Varnex 2010") || fail "$what: no window titled Varnex 2010"
  xdotool windowminimize --sync "$window"
  wait_for_state "$window" Iconic || fail "$what: not minimised: $(window_state "$window")"
  sleep 4.5 # the advert is due 3 s after the start
  [[ $(window_state "$window") == Iconic ]] ||
    fail "$what: the window is no longer minimised after the advert tick: '$(window_state "$window")'"
  count=0
  for id in $(xdotool search --name '^Varnex 2010$' 2>/dev/null || true); do
    if [[ -n $(window_state "$id") ]]; then count=$((count + 1)); fi
  done
  [[ $count == 1 ]] || fail "$what: $count managed windows titled Varnex 2010 after the tick"
  [[ -n $(window_state "$window") ]] || fail "$what: the window $window is gone"
  xdotool windowactivate --sync "$window" >/dev/null 2>&1 || xdotool windowmap --sync "$window"
  wait_for_state "$window" Normal || fail "$what: the window does not come back"
  press_keys "$window" Escape
  wait_for_exit "$app_pid" || fail "$what: Esc did not end the program"
  app_pid=
}

check_across_the_tick "$(cat "$work/port")" "advert server answering"
grep -qx 'http://www.korvane.com/adverts/varnex.php' "$work/requests" ||
  fail "the advert page was not requested: $(cat "$work/requests" 2>/dev/null)"
check_across_the_tick "$closed_port" "advert server unreachable"
echo "advert_window: one window, minimised state kept across the advert, with and without a server"
