#!/usr/bin/env bash
# Checks every include of the engine against the directions that engine/README.md allows, and
# that no source file sits at the engine's top level.
#   rooms_test.sh ENGINE_DIR
set -euo pipefail
engine=$1
declare -A allowed
while read -r room uses; do
  allowed[$room]=" $room $uses "
done < <(sed -n -E 's/^    ([a-z]+):(.*)$/\1 \2/p' "$engine/README.md")

faults=0
fault() { echo "$*"; faults=$((faults + 1)); }

for file in "$engine"/*.cpp; do
  [[ -e $file ]] && fault "${file#"$engine"/}: a source file at the top level belongs in a room"
done
for folder in "$engine"/*/; do
  room=$(basename "$folder")
  [[ -n ${allowed[$room]:-} ]] || fault "$room/: a folder that engine/README.md does not list as a room"
done
for room in "${!allowed[@]}"; do
  [[ -d $engine/$room ]] || { fault "$room: listed in engine/README.md, but there is no such folder"; continue; }
  while IFS=: read -r file line text; do
    included=$(sed -E 's/^#include "([^"]*)".*/\1/' <<<"$text")
    if [[ $included != */* ]]; then
      [[ -f $engine/$included ]] || fault "$file:$line: \"$included\" names no room"
      continue
    fi
    to=${included%%/*}
    [[ ${allowed[$room]} == *" $to "* ]] || fault "$file:$line: $room may not include from $to ($included)"
  done < <(cd "$engine" && grep -rn -E '^#include "' "$room" --include=*.h --include=*.cpp || true)
done
if ((faults)); then
  echo "$faults include(s) break the engine's rooms"
  exit 1
fi
echo "every include keeps to the rooms of engine/README.md"
