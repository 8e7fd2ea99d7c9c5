#!/usr/bin/env bash
# Measured fleet commissioning at the real pace: the largest project a
# gateway takes (KX-P6R0-1.0, 512 commands, 57 fieldbus chunks) downloaded
# and verified on 1, then 10, then 100 gateways played by one simulator on
# loopback, all of them at once (--parallel 100). The protocol's pacing is
# per gateway, so the fleet runs in parallel: the goal is 100 gateways in at
# most 1.2 times the time of one. Prints per run the wall time, the
# client's CPU time and its peak memory.
#
#   bench/fleet_bench.sh [BUILD_DIR]     (default: build)
set -uo pipefail
source "$(dirname "$0")/common.bash" "${1:-}"
[ -x /usr/bin/time ] || { echo "needs /usr/bin/time (apt-get install time)" >&2; exit 2; }

commands=$(write_largest_project "$WORK/largest.vtc")

measure() { # COUNT; prints "wall_ms cpu_ms rss_kb"
    local count=$1 i=0 line port mport
    start_fleet KX-P6R0-1.0 "$count" "$WORK/dump$count" --layout 52 || exit 1
    {
        echo "name,ip,port,project,mport"
        for line in "${FLEET_LINES[@]}"; do
            i=$((i + 1))
            read -r port mport <<<"$line"
            echo "gw$i,127.0.0.1,$port,largest.vtc,$mport"
        done
    } >"$WORK/plan$count.csv"
    local begin end
    begin=$(date +%s%N)
    /usr/bin/time -f '%U %S %M' -o "$WORK/time$count" "$CLI" fleet "$WORK/plan$count.csv" --parallel 100 \
        >"$WORK/out$count" 2>&1
    local rc=$?
    end=$(date +%s%N)
    stop_sim
    if [ "$rc" -ne 0 ]; then
        echo "fleet of $count failed:" >&2
        grep 失败 "$WORK/out$count" >&2
        exit 1
    fi
    read -r user sys rss <"$WORK/time$count"
    echo "$(((end - begin) / 1000000)) $(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%d", (u + s) * 1000 }') $rss"
}

printf 'project: %d commands; each gateway downloaded at the default pace, then verified\n' "$commands"
read -r one cpu1 rss1 <<<"$(measure 1)"
printf '%4d gateway(s): %6d ms, CPU %5d ms, peak memory %6d kB\n' 1 "$one" "$cpu1" "$rss1"
for count in 10 100; do
    read -r wall cpu rss <<<"$(measure "$count")"
    ratio=$((wall * 100 / one))
    printf '%4d gateway(s): %6d ms, CPU %5d ms, peak memory %6d kB (%d.%02dx the time of one)\n' "$count" "$wall" \
        "$cpu" "$rss" $((ratio / 100)) $((ratio % 100))
done
if [ $((wall * 100)) -gt $((one * 120)) ]; then
    echo "100 gateways took more than 1.2 times the time of one" >&2
    exit 1
fi
