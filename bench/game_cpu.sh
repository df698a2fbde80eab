#!/usr/bin/env bash
# The processor time the real Pellor takes while a game plays in its window
# (run it under xvfb-run): the program watches a table of six bot seats that
# pause as a person would between their moves, so the deals, the plays and
# the results are shown with all their animations. Measured as the CPU time
# of the process (user and system, all threads, from /proc/PID/stat) over a
# span of wall time, so other work on the machine does not count, once the
# first game has been dealt.
#
# usage: game_cpu.sh [--seconds N] [--bot-pause MS] [--runs N] [--limit PERCENT] [BUILD_DIR]
#   --seconds N      span of each measurement (default 30)
#   --bot-pause MS   how long the bots think (default 300)
#   --runs N         measurements one after another (default 1); the median is reported
#   --limit PERCENT  exit 1 when the median takes more of a core (default: none)
# Prints one line per measurement and the median, then the machine's load
# average. Exits 77 (skipped) without a display or a build.
set -uo pipefail

seconds=30
bot_pause=300
runs=1
limit=""
while [ $# -gt 0 ]; do
    case "$1" in
    --seconds) seconds="$2"; shift 2 ;;
    --bot-pause) bot_pause="$2"; shift 2 ;;
    --runs) runs="$2"; shift 2 ;;
    --limit) limit="$2"; shift 2 ;;
    *) break ;;
    esac
done
build="${1:-build}"
host_program="$build/tools/tablehost/tablehost"

source "$(dirname "$0")/program_folder.sh"
need_screen_and_build game_cpu "$build"

work="$(mktemp -d)"
host_pid=""
pellor_pid=""
trap '[ -n "$pellor_pid" ] && kill "$pellor_pid" 2>/dev/null; [ -n "$host_pid" ] && kill "$host_pid" 2>/dev/null; wait; rm -rf "$work"' EXIT
ticks_per_second="$(getconf CLK_TCK)"

program_dir="$work/program"
make_program_folder "$program_dir" "$build/assets"
record_shared_folder "$work/config" "$program_dir"
start_host "$host_program" --human-seats 0 --bot-pause "$bot_pause" || exit 1

# A watcher of the first seat (seats above 6 watch).
PELLOR_CONFIG_DIR="$work/config" "$program_dir/Pellor" 7 watcher Watcher ticket 0 room \
    127.0.0.1 "$host_port" "" 127.0.0.1 7002 lv1 0 >"$work/pellor.out" 2>&1 &
pellor_pid=$!

cpu_ticks() {
    awk '{print $14 + $15}' "/proc/$pellor_pid/stat"
}

# The table is shown and the first deal is under way.
sleep 8
kill -0 "$pellor_pid" 2>/dev/null || { cat "$work/pellor.out"; echo "game_cpu: Pellor ended"; exit 1; }

shares=()
for run in $(seq "$runs"); do
    before="$(cpu_ticks)" || { echo "game_cpu: Pellor ended"; exit 1; }
    sleep "$seconds"
    after="$(cpu_ticks)" || { echo "game_cpu: Pellor ended"; exit 1; }
    percent="$(awk -v t=$((after - before)) -v hz="$ticks_per_second" -v s="$seconds" \
        'BEGIN { printf "%.3f", t * 100 / hz / s }')"
    printf 'game play %d: %4d ticks in %s s  %s%% of a core\n' "$run" $((after - before)) \
        "$seconds" "$percent"
    shares+=("$percent")
done
median="$(printf '%s\n' "${shares[@]}" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')"
echo "median: $median% of a core at bots pausing $bot_pause ms"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
if [ -n "$limit" ] && awk -v p="$median" -v l="$limit" 'BEGIN { exit !(p > l) }'; then
    echo "game_cpu: a game takes more than $limit% of a core"
    exit 1
fi
exit 0
