#!/usr/bin/env bash
# Builds the Debian package (cpack -G DEB), installs it and starts each
# program's --version from the installed files.
#
#   bash scripts/build-deb.sh             extract into a scratch root and run from there
#   bash scripts/build-deb.sh --dpkg-install   install with dpkg -i on this machine (as root)
#
# BUILD_DIR (default build-release) is the build tree used; it is configured
# as a Release build unless it exists already. The package is left in it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mode=${1:-extract}
case "$mode" in
extract | --dpkg-install) ;;
*)
    echo "usage: $0 [--dpkg-install]" >&2
    exit 2
    ;;
esac

bash "$root/scripts/setup.sh"
build=${BUILD_DIR:-$root/build-release}
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANTOR_BENCH=OFF
fi
programs=(Vantor VantorNet VantorLoad vantor-cli vantor-gatewaysim)
cmake --build "$build" --target "${programs[@]}"
rm -f "$build"/vantor_*.deb
(cd "$build" && cpack -G DEB)
deb=$(ls "$build"/vantor_*.deb)
echo "== $deb"
dpkg-deb --field "$deb" Package Version Depends

if [ "$mode" = --dpkg-install ]; then
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO="sudo"
    # dpkg -i leaves missing dependencies unconfigured; apt-get fetches them.
    $SUDO dpkg -i "$deb" || $SUDO apt-get install -y -f
    bin=/usr/bin
else
    # Every dependency the package declares must be installed here for the
    # extracted programs to run.
    missing=$(dpkg-deb --field "$deb" Depends | tr ',' '\n' | sed 's/[( ].*//; s/^ *//' | sed '/^$/d' |
        while read -r dep; do
            dpkg-query -W -f='${Status}' "$dep" 2>/dev/null | grep -q 'install ok installed' || echo "$dep"
        done)
    if [ -n "$missing" ]; then
        echo "not installed here: $missing" >&2
        exit 1
    fi
    scratch=$(mktemp -d)
    trap 'rm -rf "$scratch"' EXIT
    dpkg-deb -x "$deb" "$scratch"
    bin=$scratch/usr/bin
fi

# From a directory of no importance: the programs find their data by themselves.
cd "$(mktemp -d)"
for program in "${programs[@]}"; do
    QT_QPA_PLATFORM=offscreen timeout 20 "$bin/$program" --version
done
QT_QPA_PLATFORM=offscreen timeout 30 "$bin/Vantor" --check-data
echo "== the package installs and its programs start"
