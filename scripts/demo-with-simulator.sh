#!/usr/bin/env bash
# Starts vantor-gatewaysim playing the demo project live (its slaves'
# values in the data areas, COM1 slave 3 dead so that one state word shows
# time-outs) on ports the system chooses, then Vantor on the demo project
# (access IP 127.0.0.1) with VANTOR_ACCESS_PORT and VANTOR_MODBUS_PORT
# pointing at the simulator. The simulator stops when Vantor exits.
#   scripts/demo-with-simulator.sh [BUILD_DIR]   (default: build)
set -euo pipefail
source "$(dirname "$0")/simulator-lib.sh" "${1:-}"
vantor="$build/apps/vantor/Vantor"
cd "$root/data"
model=$("$build/tools/cli/vantor-cli" show demo.vtc | sed -n '1s/^[^:]*: *//p')
start_simulator "$model" --layout 52 --project demo.vtc --dead COM1:3
echo "vantor-gatewaysim ($model): configuration port $SIM_PORT, MODBUS TCP port $SIM_MODBUS_PORT"
echo "live data of demo.vtc (COM1 slave 3 not answering): 从站状态 in Vantor, or any MODBUS TCP client, unit 9"
VANTOR_ACCESS_PORT=$SIM_PORT VANTOR_MODBUS_PORT=$SIM_MODBUS_PORT "$vantor" demo.vtc
