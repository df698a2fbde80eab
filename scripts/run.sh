#!/usr/bin/env bash
# Builds the project and runs what exists of it.
#
# The table window and the application are not built yet, so there is no
# program to start: this runs the rule book's benchmarks, which deal random
# hands and check and search plays on them, and the referee's, which plays
# whole games between six bot seats.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)"
./build/bench/rules_bench --benchmark_min_time=0.2
./build/bench/referee_bench --benchmark_min_time=0.5
