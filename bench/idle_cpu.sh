#!/usr/bin/env bash
# The processor time the real Pellor takes while nothing moves, on the X
# screen (run it under xvfb-run): at the start pane waiting for the start,
# minimised, and at the result pane under the message box that ends a game
# played in trusteeship. Each state is measured as the CPU time of the
# process (user and system, all threads, from /proc/PID/stat) over a span of
# wall time, so other work on the machine does not count.
#
# usage: idle_cpu.sh [--seconds N] [--limit PERCENT] [BUILD_DIR]
#   --seconds N      span of each measurement (default 30)
#   --limit PERCENT  exit 1 when a state takes more of a core (default: none)
# Prints one line per state: its clock ticks, seconds and share of a core,
# then the machine's load average. Exits 77 (skipped) without a display or
# a build.
set -uo pipefail

seconds=30
limit=""
while [ $# -gt 0 ]; do
    case "$1" in
    --seconds) seconds="$2"; shift 2 ;;
    --limit) limit="$2"; shift 2 ;;
    *) break ;;
    esac
done
build="${1:-build}"
program="$build/assets/Pellor"
host_program="$build/tools/tablehost/tablehost"

source "$(dirname "$0")/program_folder.sh"
need_screen_and_build idle_cpu "$build"

work="$(mktemp -d)"
host_pid=""
pellor_pid=""
stop() {
    [ -n "$pellor_pid" ] && kill "$pellor_pid" 2>/dev/null && wait "$pellor_pid" 2>/dev/null
    [ -n "$host_pid" ] && kill "$host_pid" 2>/dev/null && wait "$host_pid" 2>/dev/null
    pellor_pid=""
    host_pid=""
}
trap 'stop; rm -rf "$work"' EXIT
ticks_per_second="$(getconf CLK_TCK)"
failed=0

make_program_folder "$work/program" "$build/assets"
record_shared_folder "$work/config" "$work/program"

# Starts a table host with the given time limits, then Pellor for its free seat.
start_table() {
    start_host "$host_program" --human-seats 1 --bot-pause 0 --time-limits "$1" || exit 1
    PELLOR_CONFIG_DIR="$work/config" "$work/program/Pellor" 1 idle Idle ticket 0 room 127.0.0.1 \
        "$host_port" "" 127.0.0.1 7002 lv1 0 >"$work/pellor.out" 2>&1 &
    pellor_pid=$!
}

# The X window whose name holds the text; waits up to $2 seconds.
window_named() {
    for _ in $(seq $(($2 * 10))); do
        local id
        id="$(xwininfo -root -tree 2>/dev/null | grep -F "\"$1" | awk '{print $1}' | head -n 1)"
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        kill -0 "$pellor_pid" 2>/dev/null || break
        sleep 0.1
    done
    return 1
}

cpu_ticks() {
    awk '{print $14 + $15}' "/proc/$pellor_pid/stat"
}

# Measures the process for $seconds and prints the state's line.
measure() {
    local before after percent
    before="$(cpu_ticks)" || { echo "idle_cpu: Pellor ended"; exit 1; }
    sleep "$seconds"
    after="$(cpu_ticks)" || { echo "idle_cpu: Pellor ended"; exit 1; }
    percent="$(awk -v t=$((after - before)) -v hz="$ticks_per_second" -v s="$seconds" \
        'BEGIN { printf "%.3f", t * 100 / hz / s }')"
    printf '%-34s %4d ticks in %s s  %s%% of a core\n' "$1" $((after - before)) "$seconds" "$percent"
    if [ -n "$limit" ] && awk -v p="$percent" -v l="$limit" 'BEGIN { exit !(p > l) }'; then
        echo "idle_cpu: $1 takes more than $limit% of a core"
        failed=1
    fi
}

# The start pane: the table waits for the start (no forced start for 600 s).
start_table "10 10 10 10 10 10 30 30 5 600 5"
frame="$(window_named Morvane 30)" || { echo "idle_cpu: the main window never showed"; exit 1; }
sleep 3
measure "start pane"

# Minimised through the frame's own minimise button (85 px from its right
# edge on the caption of the default skin).
eval "$(xdotool getwindowgeometry --shell "$frame")"
xdotool mousemove $((X + WIDTH - 85)) $((Y + 14)) click 1
sleep 2
measure "minimised"
stop

# A game played in trusteeship: the start and every turn of the seat time
# out at once, the seat goes into trusteeship, the bots play the game out,
# and the program shows the result and asks nothing more than an OK.
start_table "1 1 1 1 1 1 1 1 1 1 0"
window_named "提示" 180 >/dev/null || { echo "idle_cpu: the game never ended"; exit 1; }
sleep 3
measure "result pane with a message box"
stop

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
exit "$failed"
