#!/usr/bin/env bash
# Builds everything and runs every test: the full suite, then the rule book's
# and the platform layer's tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"
xvfb-run -a ctest --test-dir build --output-on-failure -j "$jobs"

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DPELLOR_SANITIZE=address,undefined -DPELLOR_BENCH=OFF
cmake --build build-asan -j "$jobs" --target game_tests platform_tests
xvfb-run -a ctest --test-dir build-asan --output-on-failure -j "$jobs" -R '^(game|platform)\.'
