#!/usr/bin/env bash
# cmake --install into a scratch prefix: the programs land in bin/ and run,
# the data they read lands in share/vantor/, and the installed vantor-cli
# works on the installed demo project from another directory.
#   install_test.sh BUILD_DIR
set -u
build=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

prefix="$tmp/usr"
cmake --install "$build" --prefix "$prefix" >"$tmp/log" 2>&1 || fail "install failed: $(cat "$tmp/log")"
for program in Vantor VantorNet VantorLoad vantor-cli vantor-gatewaysim; do
    [ -x "$prefix/bin/$program" ] || fail "bin/$program missing"
done
share="$prefix/share/vantor"
for file in Vantor.ver busy.gif demo.vtc demo.vncfg Help/index.html IP/ETHOption.xml BITMAP/slave.bmp BITMAP/master.bmp BITMAP/node.bmp; do
    [ -s "$share/$file" ] || fail "share/vantor/$file missing"
done

cd "$tmp" || exit 1
"$prefix/bin/vantor-cli" show "$share/demo.vtc" >"$tmp/show" 2>&1 || fail "installed vantor-cli show: $(cat "$tmp/show")"
grep -q "KX-P2R0-1.0" "$tmp/show" || fail "installed vantor-cli show printed: $(cat "$tmp/show")"
"$prefix/bin/vantor-gatewaysim" --help >/dev/null 2>&1 || fail "installed vantor-gatewaysim --help failed"

[ "$failures" -eq 0 ] || exit 1
echo "install: all passed"
