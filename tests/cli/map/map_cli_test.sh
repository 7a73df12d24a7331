#!/usr/bin/env bash
# Runs the real `varnex map` on good and damaged maps: exit codes, one-line messages that
# name the file, and never a crash or a hang.
set -uo pipefail
varnex=$1
fixtures=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# expect CODE PATTERN -- COMMAND...: the exit code and a line of stderr matching PATTERN
expect() {
    local code=$1 pattern=$2
    shift 3
    timeout 60 "$@" >"$work/out" 2>"$work/err"
    local got=$?
    [ "$got" -eq "$code" ] || fail "$* exited $got, not $code: $(head -c 300 "$work/err")"
    if [ -n "$pattern" ]; then
        grep -q -- "$pattern" "$work/err" || fail "$*: no message like '$pattern' in: $(head -c 300 "$work/err")"
        grep -qv '^varnex: ' "$work/err" && fail "$*: a message without the prefix: $(grep -v '^varnex: ' "$work/err" | head -c 200)"
    fi
}

# usage
expect 0 "" -- "$varnex" map --help
grep -q 'varnex map check ~/old/mskvmap16.dll' "$work/out" || fail "--help shows no examples"
expect 2 "unknown subcommand" -- "$varnex" map frobnicate
expect 2 "name a subcommand" -- "$varnex" map
expect 2 "check: --format must be text or tsv" -- "$varnex" map check --format=xml
expect 2 "check: --pair needs two font names" -- "$varnex" map check --pair KOI8-R
expect 2 "check: the font \"Nope\" is not in" -- "$varnex" map check --pair KOI8-R Nope
expect 2 "build: name the map to write with -o FILE" -- "$varnex" map build x.tsv
expect 2 "diff: missing file name" -- "$varnex" map diff a.dll

# the shipped map beside the program: notes only
expect 0 "" -- "$varnex" map check
grep -q ': 0 errors, ' "$work/out" || fail "check of the shipped map: $(tail -1 "$work/out")"
expect 0 "" -- "$varnex" map check --pair KOI8-R CP866 --format=tsv
head -1 "$work/out" | grep -q '^severity	kind	row	line	column	source	target	message$' || fail "tsv header"

# a bad TSV stops the build with row and column, and leaves the old output alone
printf '#c\tA\tB\nx\t65\t66\nx\t66\t1,,2\n' >"$work/bad.tsv"
echo old >"$work/out.dll"
expect 1 'bad.tsv: row 2 (line 3), column 2 "B": error: the target cell "1,,2"' -- "$varnex" map build "$work/bad.tsv" -o "$work/out.dll"
[ "$(cat "$work/out.dll")" = old ] || fail "a failed build replaced its output"
expect 1 "" -- "$varnex" map check "$work/bad.tsv"
grep -q 'row 2 (line 3), column 2 "B": error: ' "$work/out" || fail "check of bad.tsv: $(head -c 300 "$work/out")"

# damaged text maps
printf '\xef\xbb\xbf#c\tA\n' >"$work/bom.tsv"
expect 1 'bom.tsv", line 1: the file starts with a byte order mark' -- "$varnex" map check "$work/bom.tsv"
printf '#c\tA\r\nx\t1\r\n' >"$work/crlf.tsv"
expect 1 'crlf.tsv", line 1: the line ends with a carriage return' -- "$varnex" map check "$work/crlf.tsv"
printf '#c\tA\tB\nx\t1\n' >"$work/ragged.tsv"
expect 1 'ragged.tsv", line 2: the line has 2 cells for 3 columns' -- "$varnex" map export "$work/ragged.tsv"
printf '#c\tA\nx\t\xff\n' >"$work/utf8.tsv"
expect 1 'utf8.tsv", line 2: column 2 ("A"): invalid UTF-8' -- "$varnex" map check "$work/utf8.tsv"
{ printf '#c\tA\nx'; head -c 1000000 /dev/zero | tr '\0' '\t'; printf '\n'; } >"$work/wide.tsv"
expect 1 'wide.tsv", line 2: the line has 1000001 cells' -- "$varnex" map check "$work/wide.tsv"

# damaged databases: a truncated and a corrupted SQLite copy of the shipped map, the bad Jet files
map="$(dirname "$varnex")/mskvmap16.dll"
head -c 3000 "$map" >"$work/truncated.dll"
expect 1 'truncated.dll' -- "$varnex" map check "$work/truncated.dll"
cp "$map" "$work/corrupt.dll"
printf 'garbage garbage garbage garbage' | dd of="$work/corrupt.dll" bs=1 seek=4096 conv=notrunc status=none
expect 1 'corrupt.dll' -- "$varnex" map check "$work/corrupt.dll"
expect 1 'missing.dll' -- "$varnex" map check "$work/missing.dll"
for bad in "$fixtures"/bad/*.mdb; do
    expect 1 "$(basename "$bad")" -- "$varnex" map check "$bad"
    expect 1 "$(basename "$bad")" -- "$varnex" map export "$bad"
done

# diff: none against itself, one changed cell against a rebuilt copy
expect 0 "" -- "$varnex" map diff "$map" "$map"
"$varnex" map export "$map" | awk -F'\t' 'BEGIN { OFS = "\t" } NR == 100 { $3 = "63" } { print }' >"$work/changed.tsv"
expect 0 "" -- "$varnex" map build "$work/changed.tsv" -o "$work/changed.dll"
expect 1 "" -- "$varnex" map diff "$map" "$work/changed.dll"
grep -q '^"KOI8-R" -> "CP866", code ' "$work/out" && fail "diff names a pair that does not read the cell"
grep -q '^"KOI8-R" -> "KOI8-U", code ' "$work/out" || fail "diff misses the changed target cell: $(head -3 "$work/out")"

[ "$failures" -eq 0 ] && echo "all map command checks passed"
exit $((failures > 0))
