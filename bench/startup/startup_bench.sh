#!/usr/bin/env bash
# Start to first paint: Varnex2010 against a bare Qt window and against the same window with
# a label and a drop-down list, in one private X server. Each round starts the three once, in
# an order that rotates from round to round, and each round gives its own ratios; the script
# prints the medians of the times and the median and quartiles of the ratios.
#   bench/startup/startup_bench.sh BUILD_BIN_DIR [ROUNDS]
bin=$1
rounds=${2:-31}
source "$(dirname "$0")/../../tests/e2e/x_session.sh"

measure() {
  VARNEX_LAUNCH_NS=$(date +%s%N) "$@" 2>/dev/null | sed -n 's/^first paint \([0-9.]*\) ms$/\1/p'
}
programs=("$bin/bare_window" "$bin/bare_window --with-text" "$bin/Varnex2010")

for program in "${programs[@]}"; do measure $program >/dev/null; done # warm the page cache
for round in $(seq "$rounds"); do
  for k in 0 1 2; do
    slot=$(((k + round) % 3))
    echo "$round $slot $(measure ${programs[$slot]})"
  done
done >"$work/times"

awk -v rounds="$rounds" '
  function sort(a, n,   i, j, t) { for (i = 2; i <= n; i++) for (j = i; j > 1 && a[j - 1] > a[j]; j--) { t = a[j]; a[j] = a[j - 1]; a[j - 1] = t } }
  function quantile(a, n, q,   x, i) { x = 1 + (n - 1) * q; i = int(x); return i >= n ? a[n] : a[i] + (x - i) * (a[i + 1] - a[i]) }
  { t[$1, $2] = $3 }
  END {
    n = 0
    for (r = 1; r <= rounds; r++) {
      if (t[r, 0] == "" || t[r, 1] == "" || t[r, 2] == "") continue
      n++; bare[n] = t[r, 0]; text[n] = t[r, 1]; varnex[n] = t[r, 2]
      toBare[n] = t[r, 2] / t[r, 0]; toText[n] = t[r, 2] / t[r, 1]; textToBare[n] = t[r, 1] / t[r, 0]
    }
    sort(bare, n); sort(text, n); sort(varnex, n); sort(toBare, n); sort(toText, n); sort(textToBare, n)
    printf "start to first paint, %d rounds, median ms: bare Qt window %.1f, with a label and a list %.1f, Varnex2010 %.1f\n", n, quantile(bare, n, .5), quantile(text, n, .5), quantile(varnex, n, .5)
    printf "ratios in the same round, median (quartiles):\n"
    printf "  Varnex2010 / bare window          %.3f (%.3f-%.3f)\n", quantile(toBare, n, .5), quantile(toBare, n, .25), quantile(toBare, n, .75)
    printf "  Varnex2010 / window with text     %.3f (%.3f-%.3f)\n", quantile(toText, n, .5), quantile(toText, n, .25), quantile(toText, n, .75)
    printf "  window with text / bare window    %.3f (%.3f-%.3f)\n", quantile(textToBare, n, .5), quantile(textToBare, n, .25), quantile(textToBare, n, .75)
  }' "$work/times"
