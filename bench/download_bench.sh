#!/usr/bin/env bash
# Measured download of the largest project a gateway takes (KX-P6R0-1.0: six
# lines of 31 slaves, 512 commands; a fieldbus block of 13456 bytes in 57
# chunks) to vantor-gatewaysim on loopback, once at the default pace and once
# with --pace 0. The default pace waits 300 ms before acting on each reply,
# so replies x 300 ms is the floor; the goal is to stay within 5 % of it.
#
#   bench/download_bench.sh [BUILD_DIR]     (default: build)
set -uo pipefail
source "$(dirname "$0")/common.bash" "${1:-}"

commands=$(write_largest_project "$WORK/largest.vtc")

run_cli blocks "$WORK/largest.vtc"
[ "$RC" -eq 0 ] || { echo "blocks failed: $ERR" >&2; exit 1; }
fieldbus_hex=$(grep '^21 ' <<<"$OUT" | cut -d' ' -f2)
fieldbus=$((${#fieldbus_hex} / 2))
chunks=$(((fieldbus + 239) / 240))
replies=$((2 + chunks)) # device state, RTU block, one per chunk
floor_ms=$((replies * 300))

measure() { # PACE_ARGS... ; prints milliseconds
    start_sim KX-P6R0-1.0 "$WORK/dump" || exit 1
    local begin end
    begin=$(date +%s%N)
    run_cli download "$WORK/largest.vtc" --ip 127.0.0.1 --port "$SIM_PORT" "$@"
    end=$(date +%s%N)
    stop_sim
    if [ "$(tail -n 1 <<<"$OUT")" != "下 载 完 毕!" ]; then
        echo "download failed: $OUT $ERR" >&2
        exit 1
    fi
    echo $(((end - begin) / 1000000))
}

paced=$(measure)
unpaced=$(measure --pace 0)
over=$(((paced - floor_ms) * 10000 / floor_ms))
printf 'project: %d commands, fieldbus block %d bytes in %d chunks, %d replies\n' "$commands" "$fieldbus" "$chunks" "$replies"
printf 'default pace: %d ms (floor %d ms = %d x 300 ms, %+d.%02d %%)\n' "$paced" "$floor_ms" "$replies" \
    $((over / 100)) $((over < 0 ? -over % 100 : over % 100))
printf 'pace 0:       %d ms\n' "$unpaced"
if [ $((paced * 100)) -gt $((floor_ms * 105)) ]; then
    echo "default pace more than 5 % above the floor" >&2
    exit 1
fi
