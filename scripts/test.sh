#!/usr/bin/env bash
# Sets up the machine, builds everything and runs every test through ctest,
# then builds the core tests and the fault matrix again with AddressSanitizer
# and UndefinedBehaviorSanitizer (build-sanitize/) and runs them there.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Debug
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure --timeout 120 -j"$(nproc)"

cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVANTOR_SANITIZE=ON -DVANTOR_BENCH=OFF
cmake --build build-sanitize -j"$(nproc)" --target vantor_core_test_programs
ctest --test-dir build-sanitize --output-on-failure --timeout 120 -j"$(nproc)" -L '^(core|faults)$' \
    -E '^faults\.(kill_|failed_save)'
