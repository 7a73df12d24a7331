#!/usr/bin/env bash
# A mutation pass: applies small changes to the sources one at a time, in a scratch worktree
# of its own, builds, runs the tests that the list names, and reports which changes no test
# noticed ("survived").
#
#   tools/mutate.sh LIST...           each LIST a file of mutants, as in tools/mutants/
#
# A list holds one mutant per line, as FILE:LINE:FROM:TO: on line LINE of FILE (from the top
# of the repository), the first FROM becomes TO. A colon inside FROM or TO is written \:.
# Other lines:
#   # ...             a comment
#   tests: REGEX      the ctest -R pattern for the mutants that follow (required)
#   build: TARGET...  the build targets for them (default: everything)
#
# The worktree holds what is checked out here, with the uncommitted changes of its tracked
# files, and keeps its build between runs (VARNEX_MUTATE_DIR, default /tmp/varnex-mutate):
# the first run builds everything, later ones only what a mutant touches. The exit status is 0 when every mutant
# was caught, 1 when one survived or no longer applies, 2 on a fault of the pass itself.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
scratch=${VARNEX_MUTATE_DIR:-/tmp/varnex-mutate}
jobs=$(nproc)
(($# > 0)) || { echo "usage: tools/mutate.sh LIST..." >&2; exit 2; }
for list in "$@"; do [[ -r $list ]] || { echo "mutate: cannot read $list" >&2; exit 2; }; done

# the state to mutate: HEAD, or HEAD with this checkout's uncommitted changes
state=$(git -C "$here" stash create)
state=${state:-$(git -C "$here" rev-parse HEAD)}
if [[ ! -d $scratch/.git && ! -f $scratch/.git ]]; then
  git -C "$here" worktree add --detach "$scratch" "$state" >/dev/null
fi
git -C "$scratch" checkout --quiet --detach --force "$state"
if [[ ! -f $scratch/build/CMakeCache.txt ]]; then
  cmake -S "$scratch" -B "$scratch/build" -G Ninja -DVARNEX_BUILD_BENCH=OFF >/dev/null
fi
# what the lists build, or everything when one of them builds everything
wanted=()
for list in "$@"; do
  if ! grep -q '^build:' "$list"; then wanted=(); break; fi
  for target in $(sed -n 's/^build://p' "$list"); do wanted+=("$target"); done
done
unmutated=(cmake --build "$scratch/build" --parallel "$jobs")
((${#wanted[@]} == 0)) || unmutated+=(--target $(printf '%s\n' "${wanted[@]}" | sort -u))
echo "mutate: building the unmutated program in $scratch/build"
"${unmutated[@]}" >/dev/null

log="$scratch/mutate.log"
: >"$log"
caught=0 survived=0 stale=0 broken=0
# FILE LINE FROM TO: whether FROM was on that line and has been made TO
apply() {
  perl -e '
    my ($file, $line, $from, $to) = @ARGV;
    open my $in, "<", $file or exit 2;
    my @lines = <$in>;
    close $in;
    exit 1 if $line < 1 || $line > @lines;
    my $i = index($lines[$line - 1], $from);
    exit 1 if $i < 0;
    substr($lines[$line - 1], $i, length $from) = $to;
    open my $out, ">", $file or exit 2;
    print $out @lines;' "$@"
}
split_fields() {  # a mutant line into the array `fields`, \: standing for a colon
  # the end marked, so that an empty TO (a deletion) stays a field of its own
  local line=${1//\\:/$'\x1f'}$'\x1e'
  IFS=: read -r -a fields <<<"$line"
  local i
  for i in "${!fields[@]}"; do
    fields[$i]=${fields[$i]//$'\x1f'/:}
    fields[$i]=${fields[$i]%$'\x1e'}
  done
}
for list in "$@"; do
  pattern="" targets=()
  while IFS= read -r entry || [[ -n $entry ]]; do
    [[ -z ${entry//[[:space:]]/} || $entry == \#* ]] && continue
    if [[ $entry == tests:* ]]; then pattern=$(sed 's/^tests:[[:space:]]*//' <<<"$entry"); continue; fi
    if [[ $entry == build:* ]]; then read -r -a targets <<<"${entry#build:}"; continue; fi
    [[ -n $pattern ]] || { echo "mutate: $list: a mutant before any tests: line" >&2; exit 2; }
    split_fields "$entry"
    ((${#fields[@]} == 4)) || { echo "mutate: $list: not FILE:LINE:FROM:TO: $entry" >&2; exit 2; }
    file=${fields[0]} line=${fields[1]} from=${fields[2]} to=${fields[3]}
    if ! apply "$scratch/$file" "$line" "$from" "$to"; then
      echo "STALE     $file:$line: \"$from\" is not on that line"
      stale=$((stale + 1))
      continue
    fi
    build=(cmake --build "$scratch/build" --parallel "$jobs")
    ((${#targets[@]} == 0)) || build+=(--target "${targets[@]}")
    if ! "${build[@]}" >>"$log" 2>&1; then
      echo "BROKEN    $file:$line: $from -> $to (does not build)"
      broken=$((broken + 1))
    elif (cd "$scratch/build" && ctest -R "$pattern" --parallel "$jobs" --timeout 300 >>"$log" 2>&1); then
      echo "SURVIVED  $file:$line: $from -> $to ($pattern)"
      survived=$((survived + 1))
    else
      echo "caught    $file:$line: $from -> $to"
      caught=$((caught + 1))
    fi
    git -C "$scratch" checkout --quiet -- "$file"
  done <"$list"
done
# the build is left as the unmutated program for the next run
"${unmutated[@]}" >/dev/null
echo "mutate: $caught caught, $survived survived, $stale stale, $broken did not build (log: $log)"
((survived == 0 && stale == 0))
