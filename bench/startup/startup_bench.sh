#!/usr/bin/env bash
# Start to first paint: Varnex2010 against a bare Qt window and against the same window with
# a label and a drop-down list, alternating, in one private X server; prints the medians and
# the ratios.
#   bench/startup/startup_bench.sh BUILD_BIN_DIR [RUNS]
bin=$1
runs=${2:-15}
source "$(dirname "$0")/../../tests/e2e/x_session.sh"

measure() {
  VARNEX_LAUNCH_NS=$(date +%s%N) "$@" 2>/dev/null | sed -n 's/^first paint \([0-9.]*\) ms$/\1/p'
}
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

measure "$bin/Varnex2010" >/dev/null  # warm the page cache
measure "$bin/bare_window" >/dev/null
: >"$work/varnex" && : >"$work/bare" && : >"$work/text"
for _ in $(seq "$runs"); do
  measure "$bin/bare_window" >>"$work/bare"
  measure "$bin/bare_window" --with-text >>"$work/text"
  measure "$bin/Varnex2010" >>"$work/varnex"
done
bare=$(median <"$work/bare")
text=$(median <"$work/text")
varnex=$(median <"$work/varnex")
echo "start to first paint, median of $runs runs:"
echo "  bare Qt window $bare ms, with a label and a list $text ms, Varnex2010 $varnex ms"
awk -v v="$varnex" -v b="$bare" -v t="$text" \
  'BEGIN { printf "  Varnex2010 / bare window = %.2f, Varnex2010 / window with text = %.2f\n", v / b, v / t }'
