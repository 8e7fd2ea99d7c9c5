#!/usr/bin/env bash
# Starts vantor-gatewaysim (model NXE-485-ZRTU2, a two-port gateway) on a
# port the system chooses, then VantorLoad with VANTOR_ACCESS_PORT pointing
# at it. VantorLoad runs in its own working directory below the build
# folder, whose address file proposes 127.0.0.1 as the gateway; the address
# files it writes stay there. The simulator stops when VantorLoad exits.
#   scripts/vantorload-with-simulator.sh [BUILD_DIR]   (default: build)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
sim="$build/tools/gatewaysim/vantor-gatewaysim"
load="$build/apps/vantorload/VantorLoad"
work="$build/vantorload-work"
tmp=$(mktemp -d)
# A session without a runtime folder (root on a fresh machine): give Qt one.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    export XDG_RUNTIME_DIR="$tmp/runtime"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
fi
sim_pid=
cleanup() {
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
    rm -rf "$tmp"
}
trap cleanup EXIT
mkdir -p "$work/IP"
[ -f "$work/IP/ip.txt" ] || printf '127.0.0.1' >"$work/IP/ip.txt"
[ -f "$work/IP/port.txt" ] || printf '502' >"$work/IP/port.txt"
mkfifo "$tmp/port"
exec 3<>"$tmp/port" # held open both ways: a simulator that fails to start cannot leave us waiting
"$sim" --model NXE-485-ZRTU2 --port 0 --port-file "$tmp/port" --modbus-port 0 --dump-dir "$work/gateway" &
sim_pid=$!
if ! read -r -t 20 -u 3 port; then
    echo "vantor-gatewaysim did not start" >&2
    exit 1
fi
echo "vantor-gatewaysim (NXE-485-ZRTU2): configuration port $port; address files in $work/IP"
cd "$work"
VANTOR_ACCESS_PORT=$port "$load"
