#!/usr/bin/env bash
# Sets up the machine, builds the suite and starts the main program on the
# demo project.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
cd data
exec ../build/tools/cli/vantor-cli show demo.vtc
