#!/usr/bin/env bash
# `bash scripts/run.sh vantorload` after the build: the VantorLoad script
# with a build folder relative to the checkout, on a machine without a
# display. Passes when the simulator's configuration port answers, the
# dialog is up in its working directory with the address files proposing
# 127.0.0.1, the simulator goes when VantorLoad ends, and nothing was
# printed on the error stream.
#   vantorload_run_path_test.sh SOURCE_DIR BUILD_DIR
source "$(dirname "$0")/run_script.bash"
start_run_script vantorload-with-simulator.sh "VantorLoad's dialog"

port=$(sed -n 's/.*configuration port \([0-9]*\);.*/\1/p' "$tmp/out")
[ -n "$port" ] || problem "the script did not name the simulator's port"
(exec 4<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null || problem "simulator port $port does not answer"
[ "$(readlink -f "/proc/$pid/cwd")" = "$(realpath "$build/vantorload-work")" ] || problem "VantorLoad runs elsewhere"
[ "$(cat "$build/vantorload-work/IP/ip.txt")" = 127.0.0.1 ] || problem "the address file does not propose 127.0.0.1"

kill "$pid"
read -r -t 30 -u 3 end || problem "the script did not end with VantorLoad"
if (exec 4<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then problem "simulator port $port still open"; fi
# Only the shell's note of the stop this test made may be there.
if grep -v -e '^Terminated$' -e "$xvfb_cleanup_note" "$tmp/err" | grep -q .; then problem "errors were printed"; fi
echo "VantorLoad up beside the simulator on port $port"
