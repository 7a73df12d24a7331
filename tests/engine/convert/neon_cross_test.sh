#!/usr/bin/env bash
# Cross-compiles the conversion paths for ARM64 with a small driver and runs it under
# qemu-aarch64. Static linking needs no ARM64 system root. No timing: qemu says nothing
# about the speed of a real processor. Exits 77 (skipped) without the cross tools.
#   neon_cross_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
root=$1
build=$2
if ! command -v aarch64-linux-gnu-g++ >/dev/null || ! command -v qemu-aarch64 >/dev/null; then
  echo "skipped: g++-aarch64-linux-gnu and qemu-user are not installed"
  exit 77
fi
mkdir -p "$build"
aarch64-linux-gnu-g++ -std=c++20 -O2 -static -Wall -Wextra -Werror -I"$root/engine" -I"$root/tests/engine/support" \
  "$root/engine/convert/CharacterRule.cpp" "$root/engine/convert/FontMap.cpp" \
  "$root/engine/convert/CharacterEntries.cpp" "$root/engine/convert/kernels/Utf8ScalarKernel.cpp" \
  "$root/engine/convert/kernels/ScalarKernel.cpp" "$root/engine/convert/kernels/NeonKernel.cpp" \
  "$root/engine/convert/kernels/VectorChoice.cpp" "$root/tests/engine/convert/NeonCrossTest.cpp" \
  -o "$build/neon_cross_test"
qemu-aarch64 "$build/neon_cross_test"
