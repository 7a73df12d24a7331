#!/usr/bin/env bash
# The bash completion offers the options, the map's fonts (quoted when they hold blanks)
# and the map subcommands.
#   completion_test.sh BUILD_DIR
set -euo pipefail
varnex=$1/bin/varnex
source "$1/completion/varnex"

complete_words() {
    COMP_WORDS=("$varnex" "$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    _varnex
    printf '%s\n' "${COMPREPLY[@]}"
}

expect() {
    local what=$1 got=$2 wanted=$3
    if [[ $got != "$wanted" ]]; then
        printf 'FAIL %s\n  got:    %q\n  wanted: %q\n' "$what" "$got" "$wanted"
        exit 1
    fi
}

expect "fonts after -f" "$(complete_words -f K)" $'KOI8-R\nKOI8-U'
expect "a font with blanks" "$(complete_words -f KOI8-R -t G)" 'GOST\ 7.79-B\ Latin'
expect "long options" "$(complete_words --be)" "--beside"
expect "document options" "$(complete_words --doc)" "--doc-font"
expect "batch options" "$(complete_words --in)" $'--in-place\n--include'
expect "recursive" "$(complete_words --rec)" "--recursive"
expect "the list with aliases" "$(complete_words -l --al)" "--aliases"
expect "nothing after -j" "$(complete_words -f KOI8-R -j '')" ""
expect "fonts after --target-doc-font" "$(complete_words --target-doc-font K)" $'KOI8-R\nKOI8-U'
expect "map subcommands" "$(complete_words map c)" "check"
expect "the map command" "$(complete_words ma)" "map"
expect "the detect command" "$(complete_words de)" "detect"
expect "auto among the sources" "$(complete_words -f a)" "auto"
expect "detect's options" "$(complete_words detect --fo)" $'--format=text\n--format=tsv'
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
printf 'Alpha\tBeta Two\n65\t66\n' >"$tmp/map.tsv"
"$1/tools/build_font_map" "$tmp/map.tsv" "$tmp/other.dll" >/dev/null
expect "fonts of --map" "$(complete_words --map "$tmp/other.dll" -f '')" 'auto
Alpha
Beta\ Two'
expect "fonts of --map=" "$(complete_words --map = "$tmp/other.dll" -t '')" 'Alpha
Beta\ Two'
mkdir "$tmp/folder"
touch "$tmp/file"
expect "folders after --clean-temporary" "$(complete_words --clean-temporary "$tmp/")" "$tmp/folder"
echo "completion: all passed"
