#!/usr/bin/env bash
# Runs libFuzzer targets one after another, each for at most RUNS
# executions or SECONDS seconds, whichever comes first, and prints one
# markdown row per target: executions, coverage (cov and ft as libFuzzer
# counts them), findings, wall time. Corpora and logs stay in
# BUILD_DIR/fuzz-campaign/.
#   scripts/fuzz-campaign.sh BUILD_DIR RUNS SECONDS TARGET...
# BUILD_DIR is a build configured with CC=clang CXX=clang++ -DVANTOR_FUZZ=ON.
set -uo pipefail
build=$1 runs=$2 seconds=$3
shift 3
out=$build/fuzz-campaign
mkdir -p "$out"
echo "| target | executions | cov | ft | findings | wall time |"
echo "|---|---|---|---|---|---|"
for target in "$@"; do
    bin=$build/fuzz/$target
    [ -x "$bin" ] || { echo "| $target | not built | | | | |"; continue; }
    mkdir -p "$out/$target/corpus" "$out/$target/findings"
    begin=$(date +%s)
    "$bin" "$out/$target/corpus" -runs="$runs" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$out/$target/findings/" >"$out/$target/log" 2>&1
    wall=$(($(date +%s) - begin))
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$out/$target/log" | tail -n 1)
    last=$(grep -E '^#[0-9]+' "$out/$target/log" | tail -n 1)
    cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
    ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
    findings=$(find "$out/$target/findings" -type f | wc -l)
    echo "| $target | ${execs:-?} | ${cov:-?} | ${ft:-?} | $findings | ${wall} s |"
done
