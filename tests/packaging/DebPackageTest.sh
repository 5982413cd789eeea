#!/usr/bin/env bash
# Makes the Debian package of the build in $1 into a temporary folder and checks it: its
# relations, that it holds exactly the installed files (no test or benchmark program),
# that the desktop entry is valid and names a program and an icon the package holds, and
# that the program started from the unpacked tree reads the "UserData.ini" beside its
# real file and so keeps its data in the user's configuration folder.
set -euo pipefail
build=$(realpath "$1")
work=$(realpath "$(mktemp -d)")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack"; }
deb=$(echo "$work"/out/tavrin_*_"$(dpkg --print-architecture)".deb)
[ -f "$deb" ] || fail "no tavrin_<version>_<arch>.deb in $(ls "$work/out")"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for p in libqt6widgets6 libqt6gui6 libqt6core6 libglib2.0-0 libxcb-ewmh2 libacl1 \
    qt6-qpa-plugins shared-mime-info adwaita-icon-theme fonts-ipafont-gothic; do
    [[ ", $depends," == *", $p "* || ", $depends," == *", $p,"* ]] || fail "Depends lacks $p"
done

office=()
[ -f "$build/libtavrin_office.so" ] && office=(./usr/libexec/tavrin/libtavrin_office.so)
expected=$(printf '%s\n' ./usr/bin/tavrin ./usr/libexec/tavrin/tavrin ./usr/libexec/tavrin/UserData.ini \
    ./usr/share/applications/tavrin.desktop ./usr/share/icons/hicolor/scalable/apps/tavrin.svg \
    "${office[@]}" | sort)
actual=$(dpkg-deb -c "$deb" | grep -v '^d' | awk '{print $6}' | sort)
[ "$actual" = "$expected" ] || fail "package files differ:
$(diff <(echo "$expected") <(echo "$actual"))"

root=$work/root
dpkg-deb -x "$deb" "$root"
entry=$root/usr/share/applications/tavrin.desktop
desktop-file-validate "$entry" || fail "desktop entry"
exec=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
icon=$(sed -n 's/^Icon=//p' "$entry")
[ "$(readlink "$root/usr/bin/$exec")" = ../libexec/tavrin/tavrin ] || fail "usr/bin/$exec"
[ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "icon $icon"
[ "$(cat "$root/usr/libexec/tavrin/UserData.ini")" = "%applicaion data%" ] || fail "UserData.ini"
readelf -S "$root/usr/libexec/tavrin/tavrin" | grep -q '\.debug_info' && fail "program not stripped"

# Started through the link with its own home, it takes its folder from the link's target.
home=$work/home
mkdir -p "$home"
find "$root" | sort >"$work/tree-before"
HOME=$home XDG_CONFIG_HOME=$home/config XDG_CACHE_HOME=$home/cache XDG_DATA_HOME=$home/data \
    QT_QPA_PLATFORM=offscreen "$root/usr/bin/$exec" >"$work/run.log" 2>&1 &
pid=$!
for _ in $(seq 300); do
    [ -d "$home/config/Quorvale/tavrin" ] || ! kill -0 $pid 2>/dev/null && break
    sleep 0.1
done
kill -TERM $pid 2>/dev/null || true
wait $pid || true
[ -f "$home/config/Quorvale/tavrin/User.xml" ] || { cat "$work/run.log"; fail "no User.xml in the user's folder"; }
grep -qFx "tavrin=$root/usr/libexec/tavrin/tavrin" "$home/config/QuorvaleTools/settings.ini" ||
    fail "published path: $(cat "$home/config/QuorvaleTools/settings.ini")"
find "$root" | sort | diff "$work/tree-before" - || fail "wrote into the unpacked tree"
echo "OK: $(basename "$deb")"
