#!/usr/bin/env bash
# The C API as another program uses it: libvarnex installed into a folder of its own, a C11
# program compiled against the installed header and varnex.pc alone, run under
# AddressSanitizer; then once more against the library in the build, with the shipped map.
#   c_api_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(realpath "$1")
source=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$build" --prefix "$work/prefix" --component library >/dev/null
export PKG_CONFIG_PATH=$(dirname "$(find "$work/prefix" -name varnex.pc)")
[[ -f $work/prefix/include/varnex.h ]] || { echo "the header was not installed"; exit 1; }
# a command's whole output is taken before grep reads it: grep -q ends at the first match, and
# under pipefail the writer's SIGPIPE would fail a pipeline that found what it looked for
dynamic=$(readelf -d "$(find "$work/prefix" -name 'libvarnex.so.1' | head -1)")
grep -q 'SONAME.*libvarnex.so.1' <<<"$dynamic" ||
  { echo "libvarnex.so.1 lacks its soname"; exit 1; }
# only the C functions are exported, and under their version
exported=$(nm -D --defined-only "$build/bin/libvarnex.so.1" | awk '{print $3}' | grep -v '^VARNEX_1.0$' | sort -u)
stray=$(grep -v '^varnex_' <<<"$exported" || true)
[[ -z $stray ]] || { echo "symbols that are not the API: $(head -3 <<<"$stray")"; exit 1; }
symbols=$(objdump -T "$build/bin/libvarnex.so.1")
grep -q 'VARNEX_1.0.*varnex_convert$' <<<"$symbols" || { echo "no versioned symbols"; exit 1; }

cc -std=c11 -Wall -Wextra -Werror -pedantic -fsanitize=address,undefined -g "$source/tests/lib/c_client.c" \
  $(pkg-config --cflags --libs varnex) -o "$work/client"
mkdir "$work/files"
LD_LIBRARY_PATH=$(pkg-config --variable=libdir varnex) "$work/client" "$build/bin/mskvmap16.dll" "$work/files"

cc -std=c11 -fsanitize=address,undefined -g "$source/tests/lib/c_client.c" -I"$source/include" \
  -L"$build/bin" -lvarnex -o "$work/client-build"
mkdir "$work/files2"
LD_LIBRARY_PATH="$build/bin" "$work/client-build" - "$work/files2"
