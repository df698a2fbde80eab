#!/usr/bin/env bash
# The resident memory of the real Pellor in window mode (run it under
# xvfb-run) while it shows whole games: at the table before the first game
# ends, then after games 1, 10 and 20. The program watches a table of six bot
# seats, so every game is dealt, played out and shown with all its
# animations, one after another, without anyone at the table.
#
# usage: memory_games.sh [--games N] [--bot-pause MS] [BUILD_DIR]
#   --games N       games to watch (default 20; the figures after games 1, 10
#                   and N are reported)
#   --bot-pause MS  how long the bots think (default 30)
# Exits 77 (skipped) without a display or a build.
set -uo pipefail

games=20
bot_pause=30
while [ $# -gt 0 ]; do
    case "$1" in
    --games) games="$2"; shift 2 ;;
    --bot-pause) bot_pause="$2"; shift 2 ;;
    *) break ;;
    esac
done
build="${1:-build}"
assets="$build/assets"
host_program="$build/tools/tablehost/tablehost"

source "$(dirname "$0")/program_folder.sh"
need_screen_and_build memory_games "$build"

work="$(mktemp -d)"
host_pid=""
pellor_pid=""
trap '[ -n "$pellor_pid" ] && kill "$pellor_pid" 2>/dev/null; [ -n "$host_pid" ] && kill "$host_pid" 2>/dev/null; wait; rm -rf "$work"' EXIT

program_dir="$work/program"
make_program_folder "$program_dir" "$assets"
record_shared_folder "$work/config" "$program_dir"
start_host "$host_program" --human-seats 0 --bot-pause "$bot_pause" || exit 1

# A watcher of the first seat (seats above 6 watch).
PELLOR_CONFIG_DIR="$work/config" "$program_dir/Pellor" 7 watcher Watcher ticket 0 room \
    127.0.0.1 "$host_port" "" 127.0.0.1 7002 lv1 0 >"$work/pellor.out" 2>&1 &
pellor_pid=$!

resident() {
    awk '/^VmRSS:/ { printf "%.1f", $2 / 1024 }' "/proc/$pellor_pid/status"
}
# Game records of the game-over kind (0x906) in the log so far.
games_over() {
    cat "$program_dir/Pellor2.log" 2>/dev/null | grep -c ' 906,'
}

sleep 5
kill -0 "$pellor_pid" 2>/dev/null || { cat "$work/pellor.out"; echo "memory_games: Pellor ended"; exit 1; }
echo "at the table:        $(resident) MB"
first="" tenth="" last=""
seen=0
started=$(date +%s)
while [ "$seen" -lt "$games" ]; do
    sleep 0.2
    kill -0 "$pellor_pid" 2>/dev/null || { echo "memory_games: Pellor ended after $seen games"; exit 1; }
    now="$(games_over)"
    [ "$now" = "$seen" ] && continue
    seen="$now"
    # Once the result is on the table and its animations have run.
    sleep 2
    rss="$(resident)"
    [ "$seen" -ge 1 ] && [ -z "$first" ] && first="$rss" && echo "after game 1:        $rss MB"
    [ "$seen" -ge 10 ] && [ -z "$tenth" ] && tenth="$rss" && echo "after game 10:       $rss MB"
    last="$rss"
done
echo "after game $seen:       $last MB"
awk -v a="$first" -v b="$last" 'BEGIN { printf "growth from game 1 to the last: %.1f MB\n", b - a }'
echo "$seen games in $(($(date +%s) - started)) s; load average: $(cut -d' ' -f1-3 /proc/loadavg)"
