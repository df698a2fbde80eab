#!/usr/bin/env bash
# Puts the library in a prefix with `cmake --install`, builds the consumer
# program against that prefix alone, as a third party would, and runs it in
# a folder of its own.
#
# Usage: run_consumer.sh BUILD_DIR WORK_DIR GENERATOR CXX_COMPILER
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$1
work=$2
generator=$3
compiler=$4

rm -rf "$work"
mkdir -p "$work/run"
cmake --install "$build" --component tablehub --prefix "$work/prefix" >/dev/null
cmake -S "$here" -B "$work/build" -G "$generator" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER="$compiler" -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/build"
cd "$work/run"
exec "$work/build/tablehub_consumer"
