#!/usr/bin/env bash
# Whole games of the program headless, each its own process, under the leak
# sanitizer: every run must end well and free everything it took. Give it a
# build made with -DPELLOR_SANITIZE=address,undefined (the leak sanitizer
# comes with the address sanitizer).
#
# usage: leak_check.sh [--games N] SANITIZED_BUILD_DIR
#   --games N  games to play, one per run (default 5)
# Prints each game's outcome; exits 1 when a run leaked or failed.
set -uo pipefail

games=5
while [ $# -gt 0 ]; do
    case "$1" in
    --games) games="$2"; shift 2 ;;
    *) break ;;
    esac
done
build="${1:?usage: leak_check.sh [--games N] SANITIZED_BUILD_DIR}"
host_program="$build/tools/tablehost/tablehost"
if [ ! -x "$build/assets/Pellor" ] || [ ! -x "$host_program" ]; then
    echo "leak_check: Pellor or the table host is not built in $build"
    exit 1
fi

work="$(mktemp -d)"
host_pid=""
trap '[ -n "$host_pid" ] && kill "$host_pid" 2>/dev/null; wait; rm -rf "$work"' EXIT
source "$(dirname "$0")/program_folder.sh"
make_program_folder "$work/program" "$build/assets"
record_shared_folder "$work/config" "$work/program"
start_host "$host_program" --human-seats 1 --bot-pause 0 || exit 1

failed=0
for game in $(seq "$games"); do
    out="$work/game$game.out"
    started=$(date +%s)
    PELLOR_DISPLAY=headless PELLOR_CONFIG_DIR="$work/config" \
        ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        timeout 900 "$work/program/Pellor" 1 player Player ticket 0 room 127.0.0.1 "$host_port" \
        "" 127.0.0.1 7002 lv1 0 >"$out" 2>&1
    status=$?
    took=$(($(date +%s) - started))
    if grep -q "ERROR: LeakSanitizer" "$out"; then
        echo "game $game: leaked ($took s)"
        grep -A12 "ERROR: LeakSanitizer" "$out" | head -40
        failed=1
    elif [ "$status" -ne 0 ] || ! grep -q "the game is over" "$out"; then
        echo "game $game: the run failed (exit $status, $took s)"
        tail -20 "$out"
        failed=1
    else
        echo "game $game: played out, nothing leaked ($took s)"
    fi
done
exit "$failed"
