#!/usr/bin/env bash
# Builds the Debian package varnex2010_VERSION-RELEASE_ARCH.deb with CPack's DEB generator.
#   tools/package.sh [--from-build BUILD_DIR] [OUTPUT_DIR]
# Without --from-build it sets up (tools/setup.sh) and builds a release build in
# build-package/. The package lands in OUTPUT_DIR (default: the project folder), and
# lintian's report follows when lintian is installed.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=""
if [[ ${1:-} == --from-build ]]; then
  build=$(cd "$2" && pwd)
  shift 2
fi
output=$(mkdir -p "${1:-$here}" && cd "${1:-$here}" && pwd)
if [[ -z $build ]]; then
  build=$here/build-package
  "$here/tools/setup.sh" "$build" -DCMAKE_BUILD_TYPE=Release -DVARNEX_BUILD_TESTS=OFF -DVARNEX_BUILD_BENCH=OFF
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log") ||
  { cat "$work/cpack.log" >&2; exit 1; }
deb=$(find "$work" -maxdepth 1 -name 'varnex2010_*.deb' | head -n 1)
[[ -n $deb ]] || { echo "package.sh: CPack made no package" >&2; cat "$work/cpack.log" >&2; exit 1; }
mv "$deb" "$output/"
deb=$output/$(basename "$deb")
echo "$deb"
if command -v lintian >/dev/null; then lintian --info "$deb" || true; fi
