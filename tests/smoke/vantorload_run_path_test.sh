#!/usr/bin/env bash
# `bash scripts/run.sh vantorload` after the build: the VantorLoad script
# with a build folder relative to the checkout, on a machine without a
# display. Passes when the simulator's configuration port answers, the
# dialog is up in its working directory with the address files proposing
# 127.0.0.1, the simulator goes when VantorLoad ends, and nothing was
# printed on the error stream.
#   vantorload_run_path_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
cd "$1"
build=$(realpath --relative-to="$1" "$2")
tmp=$(mktemp -d)
group=
# The run goes in a session of its own, so that a failing test stops all of
# it (virtual X server, simulator, VantorLoad) by that session's id.
trap '[ -n "$group" ] && kill -- "-$group" 2>/dev/null; rm -rf "$tmp"' EXIT
problem() { echo "FAIL: $*"; cat "$tmp/out" "$tmp/err"; exit 1; }

mkfifo "$tmp/ready"
exec 3<>"$tmp/ready"
unset DISPLAY WAYLAND_DISPLAY XDG_RUNTIME_DIR QT_QPA_PLATFORM
setsid bash -c 'VANTOR_READY_FILE="$1/ready" xvfb-run -a -s "-screen 0 1024x768x24" \
    bash scripts/vantorload-with-simulator.sh "$2" >"$1/out" 2>"$1/err"; echo ended >"$1/ready"' - "$tmp" "$build" &
group=$!
read -r -t 90 -u 3 pid || problem "VantorLoad's dialog did not come up"
[[ "$pid" =~ ^[0-9]+$ ]] || problem "the script $pid before the dialog came up"

port=$(sed -n 's/.*configuration port \([0-9]*\);.*/\1/p' "$tmp/out")
[ -n "$port" ] || problem "the script did not name the simulator's port"
(exec 4<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null || problem "simulator port $port does not answer"
[ "$(readlink -f "/proc/$pid/cwd")" = "$(realpath "$build/vantorload-work")" ] || problem "VantorLoad runs elsewhere"
[ "$(cat "$build/vantorload-work/IP/ip.txt")" = 127.0.0.1 ] || problem "the address file does not propose 127.0.0.1"

kill "$pid"
read -r -t 30 -u 3 end || problem "the script did not end with VantorLoad"
if (exec 4<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then problem "simulator port $port still open"; fi
# Only the shell's note of the stop this test made may be there.
if grep -v '^Terminated$' "$tmp/err" | grep -q .; then problem "errors were printed"; fi
echo "VantorLoad up beside the simulator on port $port"
