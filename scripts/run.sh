#!/usr/bin/env bash
# Sets up the machine, builds the suite and starts Vantor on the demo project,
# with a simulated gateway of the demo's model on this machine (stopped again
# when Vantor exits). Without a display, Vantor runs under xvfb-run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Debug
cmake --build build -j"$(nproc)"

cd data
sim=../build/tools/gatewaysim/vantor-gatewaysim
if [ -x "$sim" ]; then
  "$sim" --model KX-P2R0-1.0 --bind 127.0.0.1 &
  sim_pid=$!
  trap 'kill "$sim_pid" 2>/dev/null || true' EXIT
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting Vantor inside a virtual X server (xvfb-run)."
  echo "To see the window, run this script from a desktop session, or use"
  echo "  xvfb-run -a -s '-screen 0 1600x900x24' build/apps/vantor/Vantor data/demo.vtc"
  echo "and take screenshots with 'import -window root shot.png'."
  xvfb-run -a -s "-screen 0 1600x900x24" ../build/apps/vantor/Vantor demo.vtc
else
  ../build/apps/vantor/Vantor demo.vtc
fi
