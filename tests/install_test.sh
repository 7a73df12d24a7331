#!/usr/bin/env bash
# cmake --install puts the program, its font map and the launcher in one folder, a link in
# bin/, the menu entry and the icon; the installed programs find their map.
#   install_test.sh BUILD_DIR [python|no-python]   (no-python: a sanitizer build, which Python cannot load)
set -euo pipefail
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$1" --prefix "$prefix" >/dev/null
lib=$(dirname "$(readlink -f "$prefix/bin/varnex2010")")
for file in "$lib/Varnex2010" "$lib/mskvmap16.dll" "$lib/Uninstaller" \
  "$prefix/share/applications/varnex2010.desktop" "$prefix/share/icons/hicolor/scalable/apps/varnex2010.svg"; do
  [[ -e $file ]] || { echo "missing: $file" >&2; exit 1; }
done
[[ $lib == "$prefix"/lib*/varnex2010 ]] || { echo "program folder: $lib" >&2; exit 1; }
grep -qx 'Exec=varnex2010' "$prefix/share/applications/varnex2010.desktop"
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$prefix/share/applications/varnex2010.desktop"; fi
# started through the link, the program must find the map beside its real executable
log=$prefix/run.log
XDG_CONFIG_HOME=$prefix/config QT_QPA_PLATFORM=offscreen timeout 3 "$prefix/bin/varnex2010" >"$log" 2>&1 || true
if grep -q 'Varnex 2010:' "$log"; then cat "$log" >&2; exit 1; fi
# the command line through its link finds the same map, with its manual page and completion
[[ -e $prefix/share/man/man1/varnex.1.gz && -e $prefix/share/bash-completion/completions/varnex ]] ||
  { echo "missing: manual page or completion" >&2; exit 1; }
printf '\xc1' | "$prefix/bin/varnex" -f KOI8-R -t Windows-1251 | cmp -s - <(printf '\xe0') ||
  { echo "the installed varnex does not convert" >&2; exit 1; }
# other programs: the library, its header and varnex.pc, and the Python module, which find the
# installed map from where they lie
for file in "$prefix"/lib*/libvarnex.so.1 "$prefix/include/varnex.h" "$prefix"/lib*/pkgconfig/varnex.pc \
  "$prefix"/lib/python3/dist-packages/varnex/__init__.py; do
  [[ -e $file ]] || { echo "missing: $file" >&2; exit 1; }
done
[[ ${2:-python} == no-python ]] && { echo "installed into $prefix"; exit 0; }
converted=$(LD_LIBRARY_PATH=$(dirname "$(echo "$prefix"/lib*/libvarnex.so.1)") \
  PYTHONPATH=$prefix/lib/python3/dist-packages /usr/bin/python3 -c \
  'import varnex, sys; assert varnex.__file__.startswith(sys.argv[1]); print(b"\xc1".decode("varnex:KOI8-R"))' "$prefix")
[[ $converted == "а" ]] || { echo "the installed Python module does not convert: $converted" >&2; exit 1; }
echo "installed into $prefix"
