#!/usr/bin/env bash
# Builds the fuzz project (fuzz/, clang-15 and libFuzzer) and runs every fuzzer.
#   tools/fuzz.sh SECONDS [BUILD_DIR]   each fuzzer for SECONDS, new finds kept in BUILD_DIR/found
#   tools/fuzz.sh --fixed BUILD_DIR     each for its fixed runs from the checked-in corpus (ctest)
# Exits 77 (ctest: skipped) where clang-15 or libFuzzer is missing.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
if [[ ${1:-} == --fixed ]]; then
  mode=fixed
  build=${2:?build folder}
else
  mode=timed
  seconds=${1:?usage: tools/fuzz.sh SECONDS [BUILD_DIR]}
  build=${2:-$here/build/fuzz-build}
fi

build=$(realpath -m "$build")
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
if ! command -v clang-15 >/dev/null || ! command -v clang++-15 >/dev/null ||
  ! echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' |
  clang++-15 -x c++ -fsanitize=fuzzer - -o "$probe/probe" 2>/dev/null; then
  echo "skipped: clang-15 with libFuzzer (packages clang-15, libfuzzer-15-dev) is not installed"
  exit 77
fi

launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache); fi
CC=clang-15 CXX=clang++-15 cmake -S "$here/fuzz" -B "$build" -G Ninja "${launcher[@]}" >/dev/null
cmake --build "$build" --parallel "$(nproc)"

failed=0
while read -r name corpus runs; do
  [[ -n $name ]] || continue
  found="$build/found/$name"
  mkdir -p "$found"
  if [[ $mode == fixed ]]; then
    # New finds go to a scratch folder first in the list, never into the checked-in corpus.
    rm -rf "${found:?}"/*
    limits=(-runs="$runs" -seed=1)
  else
    limits=(-max_total_time="$seconds")
  fi
  echo "== $name (${limits[*]})"
  if ! (cd "$build" && "$build/bin/$name" "${limits[@]}" -max_len=8192 -print_final_stats=1 "$found" "$corpus"); then
    echo "FAILED: $name (the input that failed is in $build as crash-*)"
    failed=1
  fi
done <"$build/fuzzers.txt"
exit $failed
