#!/usr/bin/env bash
# Checks that includes point down the layers, builds everything and runs every
# test: the full suite, a short run of each fuzz target, then every test again
# under AddressSanitizer and UndefinedBehaviorSanitizer, with the program
# against the hostile host for about a minute.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
jobs=$(nproc)

# Includes only point down the layers (CTest runs this check too).
python3 scripts/check-layers.py

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"
xvfb-run -a ctest --test-dir build --output-on-failure -j "$jobs"

# A short run of every fuzz target, several at a time (clang only; stderr of
# the targets is closed so that refusals they log do not flood the output;
# a target's report is shown when it fails). Each input is held to what one
# input of its kind may cost (platform/system/InputBounds.h: a picture 400
# MiB and 3 s, a sound 512 MiB and 3 s, a MIDI song 64 MiB and 3 s, an ini
# file 96 MiB and 2 s), widened as the sanitizer pass widens the bomb
# corpus's bounds (memory three times, time ten times), above the 512 MiB
# the fuzzer itself may hold: a bomb a fuzzer finds fails the run. The
# targets of records, frames and pages keep 2 GiB and 30 s.
fuzz_limits() {
    local mib seconds
    case "$(basename "$1")" in
    BmpFuzz | PictureFuzz | IconFuzz | KnDibFuzz | KnIconFuzz | GifFuzz | KnGifFuzz | TgaFuzz)
        mib=400 seconds=3 ;;
    WaveFuzz) mib=512 seconds=3 ;;
    MidiFuzz) mib=64 seconds=3 ;;
    IniFuzz) mib=96 seconds=2 ;;
    *)
        echo "-rss_limit_mb=2048 -timeout=30"
        return ;;
    esac
    echo "-rss_limit_mb=$((512 + 3 * mib)) -timeout=$((10 * seconds))"
}
export -f fuzz_limits
if command -v clang++ >/dev/null; then
    cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER=clang++ \
        -DPELLOR_FUZZ=ON -DPELLOR_TESTS=OFF -DPELLOR_BENCH=OFF
    cmake --build build-fuzz -j "$jobs" --target fuzz/all
    printf '%s\n' build-fuzz/fuzz/*Fuzz | xargs -P "$jobs" -I '{}' bash -c '
        echo "Fuzzing {}"
        "{}" -max_total_time=10 -close_fd_mask=2 $(fuzz_limits "{}") >"{}.out" 2>&1 ||
            { cat "{}.out"; exit 255; }'
fi

# The sanitizer pass: every test program, and the program itself against the
# hostile host. Lightly optimised (-O1), asserts kept: the table's and the
# shell's tests draw a great deal.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DCMAKE_C_FLAGS_DEBUG="-O1 -g" \
    -DPELLOR_SANITIZE=address,undefined -DPELLOR_BENCH=OFF
cmake --build build-asan -j "$jobs"
xvfb-run -a ctest --test-dir build-asan --output-on-failure -j "$jobs"
