#!/usr/bin/env bash
# Starts vantor-gatewaysim for the model of the VantorNet demo project on
# ports the system chooses, then VantorNet on a copy of the demo project
# with VANTOR_ACCESS_PORT and VANTOR_MODBUS_PORT pointing at the simulator.
# VantorNet runs in its own working directory below the build folder: the
# project copy (saving never touches data/demo.vncfg), the shipped pictures,
# help and busy animation by link, and the address files proposing
# 127.0.0.1, which TCP/IP值修改 needs and rewrites. The simulator stops when
# VantorNet exits.
#   scripts/vantornet-with-simulator.sh [BUILD_DIR]   (default: build)
set -euo pipefail
source "$(dirname "$0")/simulator-lib.sh" "${1:-}"
vantornet="$build/apps/vantornet/VantorNet"
work="$build/vantornet-work"
mkdir -p "$work/IP" "$work/gateway"
for shipped in BITMAP Help busy.gif Vantor.ver; do
    ln -sfn "$root/data/$shipped" "$work/$shipped"
done
[ -f "$work/demo.vncfg" ] || cp "$root/data/demo.vncfg" "$work/demo.vncfg"
[ -f "$work/IP/ip.txt" ] || printf '127.0.0.1' >"$work/IP/ip.txt"
[ -f "$work/IP/port.txt" ] || printf '502' >"$work/IP/port.txt"
model=$("$build/tools/cli/vantor-cli" net-show "$work/demo.vncfg" | sed -n '1s/^[^:]*: *//p')
start_simulator "$model" --dump-dir "$work/gateway"
echo "vantor-gatewaysim ($model): configuration port $SIM_PORT, MODBUS TCP port $SIM_MODBUS_PORT"
echo "VantorNet works in $work; in 配置下载 and TCP/IP值修改 enter the gateway IP 127.0.0.1"
cd "$work"
VANTOR_ACCESS_PORT=$SIM_PORT VANTOR_MODBUS_PORT=$SIM_MODBUS_PORT "$vantornet" demo.vncfg
