#!/usr/bin/env bash
# Starts vantor-gatewaysim for the demo project's gateway model on ports the
# system chooses, then Vantor on the demo project (access IP 127.0.0.1)
# with VANTOR_ACCESS_PORT and VANTOR_MODBUS_PORT pointing at the simulator.
# The simulator stops when Vantor exits.
#   scripts/demo-with-simulator.sh [BUILD_DIR]   (default: build)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
# The build folder as an absolute path: the script changes into data/.
build="$(cd "${1:-$root/build}" && pwd)"
sim="$build/tools/gatewaysim/vantor-gatewaysim"
vantor="$build/apps/vantor/Vantor"
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
cd "$root/data"
model=$("$build/tools/cli/vantor-cli" show demo.vtc | sed -n '1s/^[^:]*: *//p')
mkfifo "$tmp/port" "$tmp/modbus"
"$sim" --model "$model" --port 0 --port-file "$tmp/port" \
    --modbus-port 0 --modbus-port-file "$tmp/modbus" --layout 52 &
sim_pid=$!
read -r port < "$tmp/port"
read -r modbus < "$tmp/modbus"
echo "vantor-gatewaysim ($model): configuration port $port, MODBUS TCP port $modbus"
VANTOR_ACCESS_PORT=$port VANTOR_MODBUS_PORT=$modbus "$vantor" demo.vtc
