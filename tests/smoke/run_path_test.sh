#!/usr/bin/env bash
# The README's run path after the build: the demo script with a build folder
# given relative to the checkout, as scripts/run.sh calls it. Passes when the
# simulator's two ports answer and Vantor's window is up; then stops Vantor
# and checks that the simulator went with it and nothing was reported on
# the error stream.
#   run_path_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source_dir=$1
build_dir=$2
tmp=$(mktemp -d)
script_pid=
cleanup() {
    [ -n "$script_pid" ] && kill "$script_pid" 2>/dev/null
    [ -f "$tmp/pid" ] && kill "$(cat "$tmp/pid")" 2>/dev/null
    rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; echo "--- stdout"; cat "$tmp/out"; echo "--- stderr"; cat "$tmp/err"; exit 1; }

# As in run_script.bash: the virtual X server's wrapper's own cleanup note.
xvfb_cleanup_note='^xvfb-run: error: problem while cleaning up temporary directory$'

cd "$source_dir"
relative=$(realpath --relative-to="$source_dir" "$build_dir")
mkfifo "$tmp/ready"
# As scripts/run.sh starts it on a machine without a display.
unset DISPLAY WAYLAND_DISPLAY XDG_RUNTIME_DIR QT_QPA_PLATFORM
# Held open both ways, so neither this reader nor a writer waits on open.
exec 3<>"$tmp/ready"
# Vantor writes its process id into the pipe once its window is shown; a
# script that ends before that says so through the same pipe.
(
    VANTOR_READY_FILE="$tmp/ready" xvfb-run -a -s "-screen 0 1600x900x24" \
        bash scripts/demo-with-simulator.sh "$relative" >"$tmp/out" 2>"$tmp/err" && status=0 || status=$?
    echo "ended with status $status" >"$tmp/ready"
) &
script_pid=$!

read -r -t 90 -u 3 vantor_pid || fail "Vantor's window did not come up"
[[ "$vantor_pid" =~ ^[0-9]+$ ]] || fail "the run path $vantor_pid before Vantor's window came up"
echo "$vantor_pid" >"$tmp/pid"
kill -0 "$vantor_pid" || fail "Vantor is not running"

ports=$(sed -n 's/.*configuration port \([0-9]*\), MODBUS TCP port \([0-9]*\).*/\1 \2/p' "$tmp/out")
read -r port modbus <<<"$ports"
[ -n "$port" ] && [ -n "$modbus" ] || fail "the script did not name the simulator's ports"
for p in "$port" "$modbus"; do
    (exec 3<>"/dev/tcp/127.0.0.1/$p") 2>/dev/null || fail "simulator port $p does not answer"
done

# Stop Vantor: the script ends and takes the simulator with it.
kill "$vantor_pid"
wait "$script_pid" || true
script_pid=
rm -f "$tmp/pid"
for p in "$port" "$modbus"; do
    if (exec 3<>"/dev/tcp/127.0.0.1/$p") 2>/dev/null; then fail "simulator port $p still open after Vantor ended"; fi
done
# Only the shell's note of the stop this test made may be there.
if grep -v -e '^Terminated$' -e "$xvfb_cleanup_note" "$tmp/err" | grep -q .; then fail "errors were printed"; fi
echo "run path: Vantor up beside the simulator on ports $port and $modbus"
