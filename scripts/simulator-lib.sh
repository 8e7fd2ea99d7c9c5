# Shared by the scripts that run a program beside vantor-gatewaysim: the
# build folder as an absolute path (the scripts change directory), a private
# temporary folder (and a runtime folder for Qt where the session has none),
# and the simulator on free ports, stopped when the script exits.
#   source scripts/simulator-lib.sh [BUILD_DIR]   (default: build)
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
sim="$build/tools/gatewaysim/vantor-gatewaysim"
tmp=$(mktemp -d)
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

# start_simulator MODEL [SWITCHES...]: sets SIM_PORT (configuration) and
# SIM_MODBUS_PORT. The port pipes are held open both ways, so a simulator
# that fails to start cannot leave the script waiting.
start_simulator() {
    local model=$1
    shift
    mkfifo "$tmp/port" "$tmp/modbus"
    exec 3<>"$tmp/port" 4<>"$tmp/modbus"
    "$sim" --model "$model" --port 0 --port-file "$tmp/port" \
        --modbus-port 0 --modbus-port-file "$tmp/modbus" "$@" &
    sim_pid=$!
    if ! read -r -t 20 -u 3 SIM_PORT || ! read -r -t 20 -u 4 SIM_MODBUS_PORT; then
        echo "vantor-gatewaysim ($model) did not start" >&2
        exit 1
    fi
}
