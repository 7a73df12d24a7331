#!/usr/bin/env bash
# Builds the Debian package from this build, checks it with lintian, unpacks it (it is
# never installed here) and starts the unpacked programs: the window under Xvfb finds its
# map, carries its class and icon for the taskbar, and matches its menu entry.
#   package_test.sh BUILD_DIR SOURCE_DIR
build=$1
source_dir=$2
source "$(dirname "$0")/x_session.sh"

deb=$("$source_dir/tools/package.sh" --from-build "$build" "$work/package" 2>"$work/package.log" | head -n 1) ||
  fail "package.sh: $(cat "$work/package.log")"
[[ $deb == */varnex2010_*_*.deb && -f $deb ]] || fail "no package: $deb"
if command -v lintian >/dev/null; then
  lintian "$deb" >"$work/lintian.log" 2>&1 || true
  if grep -q '^E:' "$work/lintian.log"; then fail "lintian errors: $(grep '^E:' "$work/lintian.log")"; fi
fi

root=$work/root
dpkg-deb -x "$deb" "$root"
lib=$root/usr/lib/varnex2010
for file in "$lib/Varnex2010" "$lib/varnex" "$lib/mskvmap16.dll" "$lib/varnex_jet_reader" \
  "$lib/varnex_advert_panel.so" "$lib/Uninstaller" "$root/usr/share/doc/varnex2010/copyright" \
  "$root/usr/share/man/man1/varnex.1.gz" "$root/usr/share/man/man1/varnex2010.1.gz" \
  "$root/usr/share/icons/hicolor/scalable/apps/varnex2010.svg"; do
  [[ -e $file ]] || fail "missing from the package: ${file#"$root"}"
done
for size in 16 32 48 256; do
  [[ -s $root/usr/share/icons/hicolor/${size}x${size}/apps/varnex2010.png ]] || fail "no ${size}x${size} icon"
done
grep -q 'libqt6widgets6' <<<"$(dpkg-deb -f "$deb" Depends)" || fail "dependencies not declared"

desktop=$root/usr/share/applications/varnex2010.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate"
grep -qx 'Categories=Utility;TextTools;' "$desktop" || fail "menu categories"

# the command line through the unpacked link
printf '\xc1' | "$root/usr/bin/varnex" -f KOI8-R -t Windows-1251 | cmp -s - <(printf '\xe0') ||
  fail "the unpacked varnex does not convert"
# other programs: the library, its header and varnex.pc, and the Python module from the package
for file in "$root/usr/lib/libvarnex.so.1" "$root/usr/include/varnex.h" "$root/usr/lib/pkgconfig/varnex.pc"; do
  [[ -e $file ]] || fail "missing from the package: ${file#"$root"}"
done
converted=$(LD_LIBRARY_PATH=$root/usr/lib PYTHONPATH=$root/usr/lib/python3/dist-packages /usr/bin/python3 -c \
  'import sys, varnex; assert varnex.__file__.startswith(sys.argv[1]); print(b"\xc1".decode("varnex:KOI8-R"))' \
  "$root") || fail "the packaged Python module does not import"
[[ $converted == "а" ]] || fail "the packaged Python module converts to $converted"

"$root/usr/bin/varnex2010" >"$work/program.log" 2>&1 &
app_pid=$!
window=$(wait_for_window "Varnex 2010") || fail "the unpacked program shows no window"
sleep 0.5
kill -0 "$app_pid" 2>/dev/null || fail "the unpacked program ended: it did not find its map"
if xdotool search --name '^Varnex Error' >/dev/null 2>&1; then fail "an error box: $(xdotool search --name '^Varnex Error' getwindowname)"; fi

class=$(xprop -id "$window" WM_CLASS)
# the instance is the name the program was started by, the class is the program's own
[[ $class == 'WM_CLASS(STRING) = "varnex2010", "Varnex2010"' ]] || fail "window class: $class"
wanted=$(sed -n 's/^StartupWMClass=//p' "$desktop")
[[ $class == *"\"$wanted\"" ]] || fail "StartupWMClass=$wanted does not match $class"
# the icon's pixels are long: all of them are read before grep, which stops at its match
grep -q 'Icon (48 x 48)' <<<"$(xprop -id "$window" _NET_WM_ICON)" || fail "the window shows no icon of its own"

press_keys "$window" Escape
wait_for_exit "$app_pid" || fail "Esc did not end the program"
app_pid=
echo "package: $(basename "$deb") built, unpacked, started; lintian: $(grep -c '^W:' "$work/lintian.log" 2>/dev/null || echo 0) warnings"
