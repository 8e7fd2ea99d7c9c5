#!/usr/bin/env bash
# `bash scripts/run.sh vantornet` after the build: the VantorNet script with
# a build folder relative to the checkout, on a machine without a display.
# Passes when VantorNet's window is up in its working directory on the demo
# project copy, pointed at the simulator whose two ports answer; then stops
# VantorNet and checks that the simulator went with it and nothing was
# printed on the error stream.
#   vantornet_run_path_test.sh SOURCE_DIR BUILD_DIR
source "$(dirname "$0")/run_script.bash"
start_run_script vantornet-with-simulator.sh "VantorNet's window"

read -r port modbus <<<"$(sed -n 's/.*configuration port \([0-9]*\), MODBUS TCP port \([0-9]*\).*/\1 \2/p' "$tmp/out")"
[ -n "$port" ] && [ -n "$modbus" ] || problem "the script did not name the simulator's ports"
for p in "$port" "$modbus"; do
    (exec 4<>"/dev/tcp/127.0.0.1/$p") 2>/dev/null || problem "simulator port $p does not answer"
done
work=$(realpath "$build/vantornet-work")
[ "$(readlink -f "/proc/$pid/cwd")" = "$work" ] || problem "VantorNet runs elsewhere"
tr '\0' '\n' <"/proc/$pid/cmdline" | grep -qx demo.vncfg || problem "VantorNet was not given the demo project"
cmp -s "$work/demo.vncfg" data/demo.vncfg || problem "the working copy is not the demo project"
tr '\0' '\n' <"/proc/$pid/environ" | grep -qx "VANTOR_ACCESS_PORT=$port" ||
    problem "VantorNet is not pointed at the simulator's configuration port"
[ "$(cat "$work/IP/ip.txt")" = 127.0.0.1 ] || problem "the address file does not propose 127.0.0.1"

kill "$pid"
read -r -t 30 -u 3 end || problem "the script did not end with VantorNet"
for p in "$port" "$modbus"; do
    if (exec 4<>"/dev/tcp/127.0.0.1/$p") 2>/dev/null; then problem "simulator port $p still open"; fi
done
# Only the shell's note of the stop this test made may be there.
if grep -v -e '^Terminated$' -e "$xvfb_cleanup_note" "$tmp/err" | grep -q .; then problem "errors were printed"; fi
echo "VantorNet up beside the simulator on ports $port and $modbus"
