#!/usr/bin/env bash
# Plays a table: builds the program and the local table host, starts the host
# with five bot seats, then Pellor for the free seat. With a display the
# player plays in a window; without one Pellor plays the seat under
# trusteeship for one game, saving screenshots of the table. When Pellor
# ends, the host ends too.
#
# Environment: PELLOR_BUILD_DIR (default build), PELLOR_SKIP_BUILD=1 to use
# what is built, PELLOR_USER / PELLOR_NICK for the player's names.
set -euo pipefail
cd "$(dirname "$0")/.."

build="${PELLOR_BUILD_DIR:-build}"
if [ "${PELLOR_SKIP_BUILD:-0}" != 1 ]; then
    bash scripts/install-deps.sh
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build" -j "$(nproc)" --target Pellor tablehost
fi

program_dir="$build/assets"
run_dir="$build/run"

# The game platform's installation records its shared folder (where the music
# player, the sound plug-in and the chat controls lie) in the user's registry;
# here the program's folder stands in. A folder already recorded is kept.
python3 scripts/record-shared-folder.py \
    "${PELLOR_CONFIG_DIR:-${XDG_CONFIG_HOME:-$HOME/.config}/pellor}" "$program_dir"
mkdir -p "$run_dir"
host_out="$run_dir/tablehost.out"
host_log="$run_dir/tablehost.log"
: >"$host_out"

# A person at the table sees the bots think for about a second; a headless
# run has nobody to watch it and plays at once.
headless=1
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ "${PELLOR_DISPLAY:-}" != headless ]; then
    headless=0
fi
bot_pause=1000
[ "$headless" = 1 ] && bot_pause=0

"$build/tools/tablehost/tablehost" --port 0 --human-seats 1 --bot-pause "$bot_pause" \
    --log "$host_log" >"$host_out" 2>&1 &
host_pid=$!
stop_host() {
    if kill -0 "$host_pid" 2>/dev/null; then
        kill "$host_pid" 2>/dev/null || true
        wait "$host_pid" 2>/dev/null || true
    fi
}
trap stop_host EXIT

port=""
for _ in $(seq 1 300); do
    port="$(sed -n 's/^tablehost listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$host_out")"
    [ -n "$port" ] && break
    kill -0 "$host_pid" 2>/dev/null || { cat "$host_out" >&2; exit 1; }
    sleep 0.1
done
if [ -z "$port" ]; then
    echo "run.sh: the table host did not start" >&2
    exit 1
fi
echo "run.sh: table host on 127.0.0.1:$port (log: $host_log)"

if [ "$headless" = 0 ]; then
    echo "run.sh: Pellor opens its window; close it to end"
else
    echo "run.sh: no display: Pellor plays its seat under trusteeship for one game"
fi

# The launch record: seat (from 1), user, nickname, ticket, value, room, game
# server and port, extra, chat server and port, level, number.
status=0
"$program_dir/Pellor" 1 "${PELLOR_USER:-player}" "${PELLOR_NICK:-Player}" local-ticket 0 \
    local-room 127.0.0.1 "$port" "" 127.0.0.1 7002 lv1 0 || status=$?

echo "run.sh: settings $program_dir/pellor2.ini, log $program_dir/Pellor2.log"
if [ -d "$program_dir/snapshot" ]; then
    echo "run.sh: screenshots in $program_dir/snapshot/"
fi
exit "$status"
