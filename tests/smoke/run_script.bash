# Shared by the VantorLoad and VantorNet run-path tests. Sourced with
# SOURCE_DIR BUILD_DIR as $1 $2; then `start_run_script SCRIPT WHAT` starts
# scripts/SCRIPT as `run.sh` does on a machine without a display, in a
# session of its own (so that a failing test stops all of it: virtual X
# server, simulator, program), and waits until the program's window is shown:
# afterwards $pid is the program's, $tmp/out and $tmp/err hold the script's
# output, and fd 3 reads the script's end.
set -euo pipefail
cd "$1"
build=$(realpath --relative-to="$1" "$2")
tmp=$(mktemp -d)
group=
trap '[ -n "$group" ] && kill -- "-$group" 2>/dev/null; rm -rf "$tmp"' EXIT
problem() { echo "FAIL: $*"; cat "$tmp/out" "$tmp/err"; exit 1; }
# The virtual X server's wrapper sometimes fails to remove its own temporary
# folder when the program it ran was stopped; that note is not ours.
xvfb_cleanup_note='^xvfb-run: error: problem while cleaning up temporary directory$'

start_run_script() {
    local script=$1 what=$2
    mkfifo "$tmp/ready"
    exec 3<>"$tmp/ready"
    unset DISPLAY WAYLAND_DISPLAY XDG_RUNTIME_DIR QT_QPA_PLATFORM
    setsid bash -c 'VANTOR_READY_FILE="$1/ready" xvfb-run -a -s "-screen 0 1024x768x24" \
        bash "scripts/$3" "$2" >"$1/out" 2>"$1/err"; echo "ended with status $?" >"$1/ready"' \
        - "$tmp" "$build" "$script" &
    group=$!
    read -r -t 90 -u 3 pid || problem "$what did not come up"
    [[ "$pid" =~ ^[0-9]+$ ]] || problem "the script $pid before $what came up"
}
