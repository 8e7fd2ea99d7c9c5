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
