#!/usr/bin/env bash
# Starts vantor-gatewaysim (model NXE-485-ZRTU2, a two-port gateway) on a
# port the system chooses, then VantorLoad with VANTOR_ACCESS_PORT pointing
# at it. VantorLoad runs in its own working directory below the build
# folder, whose address file proposes 127.0.0.1 as the gateway; the address
# files it writes stay there. The simulator stops when VantorLoad exits.
#   scripts/vantorload-with-simulator.sh [BUILD_DIR]   (default: build)
set -euo pipefail
source "$(dirname "$0")/simulator-lib.sh" "${1:-}"
load="$build/apps/vantorload/VantorLoad"
work="$build/vantorload-work"
mkdir -p "$work/IP" "$work/gateway"
[ -f "$work/IP/ip.txt" ] || printf '127.0.0.1' >"$work/IP/ip.txt"
[ -f "$work/IP/port.txt" ] || printf '502' >"$work/IP/port.txt"
start_simulator NXE-485-ZRTU2 --dump-dir "$work/gateway"
port=$SIM_PORT
echo "vantor-gatewaysim (NXE-485-ZRTU2): configuration port $port; address files in $work/IP"
cd "$work"
VANTOR_ACCESS_PORT=$port "$load"
