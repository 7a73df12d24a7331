#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite: once in the normal build, then once more
# under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)

"$here/tools/setup.sh" "$here/build"
(cd "$here/build" && ctest --output-on-failure --parallel "$jobs" --timeout 300)

"$here/tools/setup.sh" "$here/build-sanitize" -DVARNEX_SANITIZE=ON -DVARNEX_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
(cd "$here/build-sanitize" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure --parallel "$jobs" --timeout 600)
