#!/usr/bin/env bash
# Checks that includes point down the layers, builds everything and runs every
# test: the full suite, then the library's, the rule book's and the platform
# layer's tests again under AddressSanitizer and UndefinedBehaviorSanitizer,
# after a short run of each fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
jobs=$(nproc)

# Includes only point down the layers (CTest runs this check too).
python3 scripts/check-layers.py

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"
xvfb-run -a ctest --test-dir build --output-on-failure -j "$jobs"

# A short run of every fuzz target (clang only; stderr of the targets is
# closed so that refusals they log do not flood the output).
if command -v clang++ >/dev/null; then
    cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER=clang++ \
        -DPELLOR_FUZZ=ON -DPELLOR_TESTS=OFF -DPELLOR_BENCH=OFF
    cmake --build build-fuzz -j "$jobs" --target fuzz/all
    for target in build-fuzz/fuzz/*Fuzz; do
        echo "Fuzzing $target"
        "$target" -max_total_time=10 -close_fd_mask=2 -rss_limit_mb=2048
    done
fi

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DPELLOR_SANITIZE=address,undefined -DPELLOR_BENCH=OFF
cmake --build build-asan -j "$jobs" --target game_tests platform_tests \
    Tablehub_tests Tablehub_wire_tests knclientbase05_tests knclientUI05_tests knbase05_tests \
    kngif_tests codec_absence_tests
xvfb-run -a ctest --test-dir build-asan --output-on-failure -j "$jobs" -R '^(game|platform|Tablehub|Tablehub_wire|knclientbase05|knclientUI05|knbase05|kngif|codec_absence)\.'
