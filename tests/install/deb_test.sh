#!/usr/bin/env bash
# The Debian package: cpack -G DEB builds it; it holds the programs, their
# data, the desktop entries, icons and file types under /usr; it depends on
# the libraries the programs link (Qt 6, libmodbus, libxlsxwriter); and the
# programs extracted from it start (--version, Vantor --check-data).
#   deb_test.sh BUILD_DIR VERSION
set -u
build=$(cd "$1" && pwd)
version=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/out" >"$tmp/log" 2>&1 || {
    echo "FAIL: cpack: $(cat "$tmp/log")" >&2
    exit 1
}
deb=$(ls "$tmp"/out/vantor_*.deb 2>/dev/null)
[ -f "$deb" ] || {
    echo "FAIL: no package: $(cat "$tmp/log")" >&2
    exit 1
}
[ "$(dpkg-deb --field "$deb" Version)" = "$version" ] || fail "version $(dpkg-deb --field "$deb" Version)"

dpkg-deb -c "$deb" | awk '{ print $NF }' | sed 's:^\./:/:' >"$tmp/contents"
for path in /usr/bin/Vantor /usr/bin/VantorNet /usr/bin/VantorLoad /usr/bin/vantor-cli /usr/bin/vantor-gatewaysim \
    /usr/share/vantor/Vantor.ver /usr/share/vantor/IP/ETHOption.xml /usr/share/vantor/Help/index.html \
    /usr/share/vantor/BITMAP/slave.bmp /usr/share/vantor/busy.gif /usr/share/vantor/demo.vtc \
    /usr/share/applications/vantor.desktop /usr/share/applications/vantornet.desktop \
    /usr/share/applications/vantorload.desktop /usr/share/icons/hicolor/scalable/apps/vantor.svg \
    /usr/share/icons/hicolor/scalable/apps/vantornet.svg /usr/share/icons/hicolor/scalable/apps/vantorload.svg \
    /usr/share/mime/packages/vantor.xml; do
    grep -qxF "$path" "$tmp/contents" || fail "$path is not in the package"
done
# Nothing outside /usr.
grep -v '^/usr\(/\|$\)' "$tmp/contents" | grep -vx '/' && fail "files outside /usr"

depends=$(dpkg-deb --field "$deb" Depends)
for lib in libqt6widgets6 libqt6network6 libmodbus5 libxlsxwriter libc6; do
    grep -q "\b$lib" <<<"$depends" || fail "no dependency on $lib: $depends"
done

dpkg-deb -x "$deb" "$tmp/root"
cd "$tmp" || exit 1
for program in Vantor VantorNet VantorLoad vantor-cli vantor-gatewaysim; do
    out=$(QT_QPA_PLATFORM=offscreen timeout 20 "$tmp/root/usr/bin/$program" --version 2>&1)
    [ "$out" = "$program $version" ] || fail "$program --version from the package: $out"
done
QT_QPA_PLATFORM=offscreen XDG_DATA_HOME="$tmp/xdg" timeout 30 "$tmp/root/usr/bin/Vantor" --check-data >"$tmp/check" 2>&1 ||
    fail "Vantor --check-data from the package: $(cat "$tmp/check")"
grep -qxF "BITMAP/slave.bmp: $tmp/root/usr/share/vantor/BITMAP/slave.bmp (50x41)" "$tmp/check" ||
    fail "the packaged Vantor did not find its pictures: $(cat "$tmp/check")"

[ "$failures" -eq 0 ] || exit 1
echo "deb: all passed"
