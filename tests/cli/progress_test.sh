#!/usr/bin/env bash
# The progress line shows on a terminal for a large input or batch, and nowhere else.
#   progress_test.sh BUILD_DIR
set -euo pipefail
varnex=$1/bin/varnex
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
head -c $((8 << 20)) /dev/zero | tr '\0' 'a' >"$tmp/big.txt"
printf 'small' >"$tmp/small.txt"

# script(1) gives the program a terminal; what it writes there is captured
on_terminal() { script -qefc "$*" /dev/null </dev/null; }

shown=$(on_terminal "$varnex" -f KOI8-R -t CP866 -o "$tmp/out.txt" "$tmp/big.txt")
if [[ $shown != *"varnex: $tmp/big.txt: "*" of 8.0 MiB, "*"/s"* ]]; then
    printf 'FAIL no progress line on a terminal: %q\n' "$shown"
    exit 1
fi
cmp -s "$tmp/out.txt" "$tmp/big.txt" || { echo "FAIL output differs"; exit 1; }

shown=$(on_terminal "$varnex" -f KOI8-R -t CP866 -o "$tmp/out2.txt" "$tmp/small.txt")
[[ -z $shown ]] || { printf 'FAIL progress for a small input: %q\n' "$shown"; exit 1; }

# a batch: one line for all its files, then the summary
cp "$tmp/big.txt" "$tmp/big2.txt"
shown=$(on_terminal "$varnex" -f KOI8-R -t CP866 -j1 -o "$tmp/out4.txt" "$tmp/big.txt" "$tmp/big2.txt")
if [[ $shown != *"varnex: "[01]" of 2 files, "*" of 16.0 MiB, "*"/s"*"varnex: 2 files converted, 0 failed"* ]]; then
    printf 'FAIL no batch progress line on a terminal: %q\n' "$shown"
    exit 1
fi

"$varnex" -f KOI8-R -t CP866 -o "$tmp/out3.txt" "$tmp/big.txt" 2>"$tmp/err"
[[ ! -s $tmp/err ]] || { echo "FAIL progress without a terminal: $(cat "$tmp/err")"; exit 1; }
echo "progress: all passed"
