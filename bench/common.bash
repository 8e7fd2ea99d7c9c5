# Shared by the measured download scripts: the built vantor-cli and
# vantor-gatewaysim (BUILD_DIR, default build), then the end-to-end helpers
# (start_sim, run_cli, project writers) on them.
#   source bench/common.bash [BUILD_DIR]
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=${1:-$here/../build}
cli=$build/tools/cli/vantor-cli
sim=$build/tools/gatewaysim/vantor-gatewaysim
for b in "$cli" "$sim"; do
    [ -x "$b" ] || { echo "missing $b (build vantor-cli and vantor-gatewaysim first)" >&2; exit 2; }
done
source "$here/../tests/e2e/lib.sh" "$cli" "$sim" "$here/../data"

# write_largest_project OUT.vtc: the largest project a gateway takes
# (KX-P6R0-1.0: six lines of 31 slaves, 512 commands; a fieldbus block of
# 13456 bytes in 57 chunks); prints the number of commands.
write_largest_project() {
    local commands=0 port a n k
    vtc_begin KX-P6R0-1.0
    for port in 1 2 3 4 5 6; do
        vtc_com "COM$port"
        for a in $(seq 1 31); do
            vtc_slave "COM$port" "$a" 1 50
            # 512 commands over 186 slaves: 140 slaves with three, 46 with two.
            n=$(((port - 1) * 31 + a <= 140 ? 3 : 2))
            for k in $(seq 1 "$n"); do
                vtc_module "读4区 03H" $((k * 10)) 1 "$commands"
                commands=$((commands + 1))
            done
        done
    done
    vtc_write "$1"
    echo "$commands"
}
