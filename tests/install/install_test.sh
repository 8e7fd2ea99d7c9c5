#!/usr/bin/env bash
# cmake --install into a staging root (DESTDIR) and a scratch prefix: the
# programs land in bin/ and answer --version, the data they read lands in
# share/vantor/, the desktop entries, icons and file types in their places
# (desktop-file-validate clean, the types registered by update-mime-database),
# and the installed programs find their data from another directory: the CLI
# works on the installed demo project, Vantor shows its window offscreen with
# its pictures found, and a directory it cannot write sends its files to the
# per-user data directory.
#   install_test.sh BUILD_DIR VERSION
set -u
build=$(cd "$1" && pwd)
version=$2
tmp=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null; done
    rm -rf "$tmp"
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
export QT_QPA_PLATFORM=offscreen XDG_DATA_HOME="$tmp/xdg"

DESTDIR="$tmp/stage" cmake --install "$build" --prefix /usr >"$tmp/log" 2>&1 || fail "install failed: $(cat "$tmp/log")"
prefix="$tmp/stage/usr"
programs=(Vantor VantorNet VantorLoad vantor-cli vantor-gatewaysim)
for program in "${programs[@]}"; do
    if [ ! -x "$prefix/bin/$program" ]; then
        fail "bin/$program missing"
        continue
    fi
    out=$(cd "$tmp" && timeout 20 "$prefix/bin/$program" --version 2>&1)
    [ "$out" = "$program $version" ] || fail "$program --version printed: $out"
    out=$(cd "$tmp" && timeout 20 "$prefix/bin/$program" --help 2>&1)
    [ $? -eq 0 ] && grep -q "usage: $program" <<<"$out" || fail "$program --help: $out"
done
share="$prefix/share/vantor"
for file in Vantor.ver busy.gif demo.vtc demo.vncfg Help/index.html IP/ETHOption.xml BITMAP/slave.bmp BITMAP/master.bmp BITMAP/node.bmp; do
    [ -s "$share/$file" ] || fail "share/vantor/$file missing"
done

# Desktop entries, icons and the file types.
for app in vantor vantornet vantorload; do
    entry="$prefix/share/applications/$app.desktop"
    if [ ! -s "$entry" ]; then
        fail "share/applications/$app.desktop missing"
        continue
    fi
    out=$(desktop-file-validate "$entry" 2>&1) && [ -z "$out" ] || fail "desktop-file-validate $app.desktop: $out"
    icon=$(sed -n 's/^Icon=//p' "$entry")
    python3 -c 'import sys, xml.etree.ElementTree as E; sys.exit(E.parse(sys.argv[1]).getroot().tag != "{http://www.w3.org/2000/svg}svg")' \
        "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" 2>/dev/null || fail "icon $icon.svg missing or not SVG"
    exe=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
    [ -x "$prefix/bin/$exe" ] || fail "$app.desktop starts $exe, which is not installed"
done
[ -s "$prefix/share/mime/packages/vantor.xml" ] || fail "share/mime/packages/vantor.xml missing"
update-mime-database "$prefix/share/mime" >"$tmp/mime.log" 2>&1 || fail "update-mime-database: $(cat "$tmp/mime.log")"
for pair in vantor:vtc vantornet:vncfg; do
    app=${pair%%:*} ext=${pair##*:}
    type=$(awk -F: -v g="*.$ext" '$3 == g { print $2 }' "$prefix/share/mime/globs2")
    [ -n "$type" ] || fail "*.$ext is not registered"
    grep -qx "MimeType=$type;" "$prefix/share/applications/$app.desktop" ||
        fail "$app.desktop does not open $type ($(grep MimeType "$prefix/share/applications/$app.desktop"))"
    grep -q '^Exec=[^ ]* %f$' "$prefix/share/applications/$app.desktop" || fail "$app.desktop does not take the file"
done

# From another directory: the CLI reads the installed demo project and the
# installed access-address template.
mkdir -p "$tmp/elsewhere"
cd "$tmp/elsewhere" || exit 1
"$prefix/bin/vantor-cli" show "$share/demo.vtc" >"$tmp/show" 2>&1 || fail "installed vantor-cli show: $(cat "$tmp/show")"
grep -q "KX-P2R0-1.0" "$tmp/show" || fail "installed vantor-cli show printed: $(cat "$tmp/show")"
"$prefix/bin/vantor-cli" demo "$tmp/new.vtc" >/dev/null 2>&1 || fail "installed vantor-cli demo failed"
out=$("$prefix/bin/vantor-cli" show "$tmp/new.vtc" --json) || fail "show --json of a new project"
python3 -c 'import json, sys; d = json.loads(sys.argv[1]); sys.exit(d["accessIp"] != sys.argv[2])' "$out" \
    "$(sed -n 's:.*<ip>\(.*\)</ip>.*:\1:p' "$share/IP/ETHOption.xml")" ||
    fail "a new project did not take the installed access address: $out"

# Vantor finds its pictures and files in the installed data directory.
timeout 30 "$prefix/bin/Vantor" --check-data >"$tmp/check" 2>&1 || fail "Vantor --check-data: $(cat "$tmp/check")"
grep -qxF "BITMAP/slave.bmp: $share/BITMAP/slave.bmp (50x41)" "$tmp/check" &&
    grep -qxF "BITMAP/KX-P2R0-1.0.bmp: $share/BITMAP/KX-P2R0-1.0.bmp ($(file -b "$share/BITMAP/KX-P2R0-1.0.bmp" |
        sed -n 's/.*, \([0-9]*\) x \([0-9]*\) x .*/\1x\2/p'))" "$tmp/check" &&
    grep -qxF "Help/index.html: $share/Help/index.html" "$tmp/check" ||
    fail "pictures not found in the installed data directory: $(cat "$tmp/check")"
grep -qxF "written to: $tmp/elsewhere" "$tmp/check" || fail "files not written to the current directory: $(cat "$tmp/check")"
# The windows come up offscreen from there (Vantor on the installed demo
# project). Not under timeout: the ready file must name the program's own
# process; the read is bounded and the process is ended in any case.
shows_window() {
    local program=$1
    shift
    rm -f "$tmp/ready" && mkfifo "$tmp/ready"
    VANTOR_READY_FILE="$tmp/ready" "$prefix/bin/$program" "$@" >"$tmp/$program.log" 2>&1 &
    local pid=$!
    pids+=("$pid")
    local ready
    ready=$(timeout 25 cat "$tmp/ready") || fail "$program did not show its window: $(cat "$tmp/$program.log")"
    [ "$ready" = "$pid" ] || fail "$program: ready file holds '$ready', not the process id $pid"
    kill "$pid" 2>/dev/null
}
shows_window Vantor "$share/demo.vtc"
shows_window VantorNet
# VantorLoad starts by reading the gateway's address from its address files.
mkdir -p "$tmp/elsewhere/IP"
printf '127.0.0.1' >"$tmp/elsewhere/IP/ip.txt"
printf '502' >"$tmp/elsewhere/IP/port.txt"
shows_window VantorLoad

# A current directory that cannot be written: files go to the per-user data
# directory, and the program says so.
readonly_dir=""
for d in /proc/1 /sys; do
    [ -d "$d" ] && [ ! -w "$d" ] && readonly_dir=$d && break
done
if [ -n "$readonly_dir" ]; then
    cd "$readonly_dir" || exit 1
    timeout 30 "$prefix/bin/Vantor" --check-data >"$tmp/check" 2>"$tmp/check.err"
    grep -qxF "written to: $XDG_DATA_HOME/Vantor/Vantor" "$tmp/check" ||
        fail "read-only $readonly_dir: $(cat "$tmp/check" "$tmp/check.err")"
    grep -qF "$XDG_DATA_HOME/Vantor/Vantor" "$tmp/check.err" || fail "not told where files go: $(cat "$tmp/check.err")"
    [ -d "$XDG_DATA_HOME/Vantor/Vantor" ] || fail "the per-user data directory was not created"
    cd "$tmp" || exit 1
else
    echo "note: no directory here is read-only for this user; the per-user fallback is left to the unit tests"
fi

# A relocated prefix finds its data the same way.
cmake --install "$build" --prefix "$tmp/opt" >"$tmp/log" 2>&1 || fail "install into a prefix failed: $(cat "$tmp/log")"
cd "$tmp/elsewhere" || exit 1
timeout 30 "$tmp/opt/bin/Vantor" --check-data >"$tmp/check" 2>&1 || fail "relocated Vantor --check-data: $(cat "$tmp/check")"
grep -q "^Vantor.ver: $tmp/opt/share/vantor/Vantor.ver$" "$tmp/check" || fail "relocated: $(cat "$tmp/check")"
"$tmp/opt/bin/vantor-gatewaysim" --help >/dev/null 2>&1 || fail "installed vantor-gatewaysim --help failed"

[ "$failures" -eq 0 ] || exit 1
echo "install: all passed"
