#!/usr/bin/env bash
# Sets up the machine, builds the programs it starts (optimised, in
# build-run/: the desktop programs, the simulator and the command-line tool,
# no tests) and starts Vantor on the demo project beside a simulated gateway
# of the demo's model (stopped again when Vantor exits). Without a display,
# Vantor runs inside a virtual X server.
# `run.sh vantorload` and `run.sh vantornet` start those programs the same way.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
build=build-run
source scripts/configure-lib.sh
configure_build "$build" -DCMAKE_BUILD_TYPE=Release -DVANTOR_BENCH=OFF
cmake --build "$build" -j"$(nproc)" --target Vantor VantorNet VantorLoad vantor-gatewaysim vantor-cli
# The virtual X server takes the first display from :99 on that no other
# server holds (one left running by an earlier session would otherwise stop
# this start with "Xvfb failed to start").
display=99
while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do display=$((display + 1)); done
[ "${1:-}" = vantorload ] && [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && exec xvfb-run -n "$display" -s "-screen 0 1600x900x24" bash "$PWD/scripts/vantorload-with-simulator.sh" "$PWD/$build"
[ "${1:-}" = vantorload ] && exec bash "$PWD/scripts/vantorload-with-simulator.sh" "$PWD/$build"
if [ "${1:-}" = vantornet ]; then
  if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: starting VantorNet inside a virtual X server (xvfb-run)."
    echo "Screenshots can be taken with: DISPLAY=:$display import -window root shot.png"
    exec xvfb-run -n "$display" -s "-screen 0 1600x900x24" bash "$PWD/scripts/vantornet-with-simulator.sh" "$PWD/$build"
  fi
  exec bash "$PWD/scripts/vantornet-with-simulator.sh" "$PWD/$build"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting Vantor inside a virtual X server (xvfb-run)."
  echo "To see the window, run this script from a desktop session; under xvfb-run"
  echo "screenshots can be taken with: DISPLAY=:$display import -window root shot.png"
  exec xvfb-run -n "$display" -s "-screen 0 1600x900x24" bash scripts/demo-with-simulator.sh "$build"
fi
exec bash scripts/demo-with-simulator.sh "$build"
