#!/usr/bin/env bash
# Sets up the machine, builds everything once with AddressSanitizer and
# UndefinedBehaviorSanitizer (clang, in build/) and runs every test through
# ctest there: core, window, command-line, end-to-end, fault and install
# tests. Prints the time of each phase at the end.
#   scripts/test.sh           the complete run (CI runs exactly this)
#   scripts/test.sh --quick   only the core tests and the layer, timeout and
#                             format checks, for iterating (same build folder)
set -euo pipefail
cd "$(dirname "$0")/.."
quick=0
case "${1:-}" in
--quick) quick=1 ;;
"") ;;
*)
    echo "usage: scripts/test.sh [--quick]" >&2
    exit 2
    ;;
esac

phases=()
started=$(date +%s)
phase_start=$started
# phase NAME: closes the phase that ran since the last call under NAME.
phase() {
    local now
    now=$(date +%s)
    phases+=("$(printf '%-10s %4d s' "$1" $((now - phase_start)))")
    phase_start=$now
}
# At the end, also after a failure: the phase that failed, then the table.
report() {
    local rc=$?
    [ -z "$current" ] || phase "$current (failed)"
    echo
    echo "Phases of scripts/test.sh$([ "$quick" = 1 ] && echo ' --quick'):"
    printf '  %s\n' "${phases[@]}"
    printf '  %-10s %4d s\n' total $(($(date +%s) - started))
    exit $rc
}
trap report EXIT

current=setup
bash scripts/setup.sh
phase setup

current=configure
source scripts/configure-lib.sh
configure_build build -DCMAKE_BUILD_TYPE=Debug -DVANTOR_SANITIZE=ON -DVANTOR_BENCH=ON
phase configure

jobs=$(nproc)
# Most tests wait on a gateway's pace rather than on a core: twice as many as
# there are cores keep both busy.
test_jobs=$((jobs * 2))
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}

current=build
if [ "$quick" = 1 ]; then
    cmake --build build -j"$jobs" --target vantor_quick_tests
    phase build
    current=tests
    ctest --test-dir build --output-on-failure --timeout 120 -j"$test_jobs" -L '^(core|checks)$'
else
    cmake --build build -j"$jobs"
    phase build
    current=tests
    ctest --test-dir build --output-on-failure --timeout 120 -j"$test_jobs" -LE '^reliability$'
fi
phase tests
current=
