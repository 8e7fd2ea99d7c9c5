#!/usr/bin/env bash
# Measured VantorNet download of the largest project it compiles (KX-P1-1.0:
# 31 servers, 1024 commands; image B of 16 + 31 x 28 + 1024 x 16 = 17268
# bytes in 72 parts) to vantor-gatewaysim on loopback, once with the
# dialog's pacing and once with --pace 0 --tick 1. With the pacing, every
# reply waits 300 ms before it is acted on and the first part goes out on
# the third 2 s tick of the fieldbus phase: replies x 300 ms + 6000 ms is the
# floor; the goal is to stay within 5 % of it.
#
#   bench/net_download_bench.sh [BUILD_DIR]     (default: build)
set -uo pipefail
source "$(dirname "$0")/common.bash" "${1:-}"

# 31 servers of one node; the first holds 34 commands, the others 33.
vncfg_variant "$DATA/demo.vncfg" "$WORK/largest.vncfg" '
t[:t.index("<SlaveInfo>")].replace("NXE-485-ZRTU2", "KX-P1-1.0") + "<SlaveInfo>\r\n" + "".join(
    "<Slave address=\"-1\" control=\"1\" ipadd=\"192.168.0.%d\" name=\"S%d\" picture=\"node.bmp\" port=\"502\" space=\"5\" timetip=\"50\" x=\"200\" y=\"220\">\r\n<Node address=\"1\">\r\n" % (s + 1, s)
    + "".join("<Module Start_Add=\"%d\" Length=\"1\" Explain=\"\" Func=\"读4区 03H\" area_num=\"4\" read_wri=\"0\" Gate_Add=\"%d\" mod_num=\"1\" editSend=\"0\"/>\r\n" % (k, s * 34 + k)
              for k in range(34 if s == 0 else 33))
    + "</Node>\r\n</Slave>\r\n" for s in range(31)) + "</SlaveInfo>\r\n</VantorNetProject>\r\n"' ||
    { echo "cannot write the project" >&2; exit 1; }

run_cli net-blocks "$WORK/largest.vncfg"
[ "$RC" -eq 0 ] || { echo "net-blocks failed: $ERR" >&2; exit 1; }
image_hex=$(sed -n 's/^B //p' <<<"$OUT")
image=$((${#image_hex} / 2))
parts=$(((image + 239) / 240))
replies=$((2 + parts)) # identification, image A, one per part
floor_ms=$((replies * 300 + 3 * 2000))

measure() { # CLI OPTIONS... ; prints milliseconds
    start_sim KX-P1-1.0 "$WORK/dump" || exit 1
    local begin end
    begin=$(date +%s%N)
    run_cli net-download "$WORK/largest.vncfg" --ip 127.0.0.1 --port "$SIM_PORT" "$@"
    end=$(date +%s%N)
    stop_sim
    if [ "$(tail -n 1 <<<"$OUT")" != "下载完毕！" ] || [ "$(cat "$WORK/dump/block21.hex")" != "$image_hex" ]; then
        echo "download failed: $OUT $ERR" >&2
        exit 1
    fi
    echo $(((end - begin) / 1000000))
}

paced=$(measure)
unpaced=$(measure --pace 0 --tick 1)
over=$(((paced - floor_ms) * 10000 / floor_ms))
printf 'project: 1024 commands, image B %d bytes in %d parts, %d replies\n' "$image" "$parts" "$replies"
printf 'dialog pacing: %d ms (floor %d ms = %d x 300 ms + 3 x 2000 ms, %+d.%02d %%)\n' "$paced" "$floor_ms" \
    "$replies" $((over / 100)) $((over < 0 ? -over % 100 : over % 100))
printf 'pace 0:        %d ms\n' "$unpaced"
if [ $((paced * 100)) -gt $((floor_ms * 105)) ]; then
    echo "dialog pacing more than 5 % above the floor" >&2
    exit 1
fi
