#!/usr/bin/env bash
# What reaches the audio device while the real Pellor plays on the X screen,
# recorded by SDL's disk driver: a table played against the local host (a
# chip and the start button clicked, then trusteeship, so the bots and the
# seat play on), whose background music must loop whole and whose every
# sound must begin within 300 ms of its request; then MIDI and MP3 music
# chosen in the settings. recording_check ($2) reads each recording beside
# the program's sound trace. Each run is left in a folder of $3 (its
# recording, audio.raw, the program's output, pellor.out, with the sound
# trace, and its program folder without the program), the check's report
# beside it, so that the check can be run again. Skipped (77) without a
# display or a build.
#
# usage: sound_on_device.sh BUILD_DIR RECORDING_CHECK OUTPUT_DIR
set -uo pipefail
build="$1"
check="$2"
output="$3"
source "$(dirname "$0")/../../bench/program_folder.sh"
need_screen_and_build sound_on_device "$build"
for tool in xdotool sox lame; do
    command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/install-deps.sh)"; exit 1; }
done
rm -rf "$output"
mkdir -p "$output"
top="$output"
pids=()
stop_all() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    done
    pids=()
}
# The copied programs go; their folders stay for the check.
trap 'stop_all; rm -f "$top"/*/program/Pellor' EXIT
# A busy machine is waited for: every wait gives up after this many seconds.
patience=90

# The music the settings may choose: two seconds of a MIDI melody, and the
# first three seconds of the shipped music as MP3.
music="$top/music"
mkdir -p "$music"
"$check" --write-song "$music/song.mid" || exit 1
sox "$build/assets/sound/pastorale.wav" "$music/cut.wav" trim 0 3 &&
    lame --quiet "$music/cut.wav" "$music/music.mp3" || exit 1

# A program folder of its own in $1, whose settings choose the music $2; its
# sound folder holds the shipped sounds and the music above.
make_folder() {
    local folder="$1/program"
    make_program_folder "$folder" "$build/assets"
    rm "$folder/sound"
    mkdir "$folder/sound"
    ln -s "$(realpath "$build/assets/sound")"/* "$music/song.mid" "$music/music.mp3" \
        "$folder/sound/"
    sed -i "s/^default=.*/default=$2/" "$folder/pellor2.ini"
    record_shared_folder "$1/config" "$folder"
}

# Starts a host and Pellor in $1 (made by make_folder) with the disk driver
# and the sound trace; sets pellor_pid.
start_table() {
    local work="$1"
    start_host "$build/tools/tablehost/tablehost" --human-seats 1 || exit 1
    pids+=("$host_pid")
    SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/audio.raw" PELLOR_TRACE=sound=3 \
        PELLOR_CONFIG_DIR="$work/config" "$work/program/Pellor" 1 player Player ticket 0 room \
        127.0.0.1 "$host_port" "" 127.0.0.1 7002 lv1 0 >"$work/pellor.out" 2>&1 &
    pellor_pid=$!
    pids+=("$pellor_pid")
}

# Waits until the command succeeds, at most $patience seconds; false then.
wait_for() {
    local deadline=$((SECONDS + patience))
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        kill -0 "$pellor_pid" 2>/dev/null || return 1
        sleep 0.1
    done
}
traced() { [ "$(grep -c -- "$2" "$1/pellor.out")" -ge "${3:-1}" ]; }
# When the music began in the output, in ms (from its trace line).
music_ms() { sed -n 's/^\[sound\] music .* at \([0-9]*\) ms of the audio output$/\1/p' \
    "$1/pellor.out" | head -n 1; }
# The recording holds $2 ms of output after the music's request.
recorded() {
    local start size
    start="$(music_ms "$1")"
    [ -n "$start" ] || return 1
    size="$(stat -c %s "$1/audio.raw" 2>/dev/null || echo 0)"
    [ "$size" -ge $(((start + $2) * 44100 / 1000 * 4)) ]
}
window_shown() { xdotool search --onlyvisible --name Morvane >/dev/null 2>&1; }
# A click at a point of the main window, from its top left corner.
click() {
    local window
    window="$(xdotool search --onlyvisible --name Morvane | head -n 1)"
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool mousemove $((X + $1)) $((Y + $2)) click 1
}

# Checks the recording in $1; the report is $1.txt.
judge() {
    "$check" "$1/audio.raw" "$1/pellor.out" >"$1.txt" 2>&1
    local status=$?
    grep -E "^(recording|music|sounds|PASS|FAIL)" "$1.txt" | sed "s/^/$(basename "$1"): /"
    [ "$status" -eq 0 ] || { cat "$1.txt"; grep -v '^\[sound\]' "$1/pellor.out"; }
    return "$status"
}

failed=0

# The table: once the five bots have started, the chip of 1 and the start
# button (where the default theme draws them), then trusteeship once the
# point is asked for. Recorded for fifteen seconds from the music's request
# (its twelve seconds and into its second time), and on until the voice of a
# shao has had three seconds.
work="$top/table"
make_folder "$work" pastorale.wav
start_table "$work"
if ! wait_for window_shown || ! wait_for traced "$work" 'sound .*start\.wav' 5; then
    echo "the table never showed its five started bots"
    failed=1
else
    # Clicked again while the seat has not started (a click may come before
    # the window takes it); once started, nothing lies at those points.
    seat_started() { traced "$work" 'sound .*start\.wav' 6; }
    for _ in 1 2 3; do
        click 292 418
        click 397 586
        patience=10 wait_for seat_started && break
    done
    wait_for traced "$work" 'sound .*openpoint\.wav' || echo "the point was never asked for"
    click 673 710
    wait_for traced "$work" 'sound .*trust\.wav' || echo "trusteeship never began"
    voice_done() {
        local at
        at="$(sed -n 's/^\[sound\] sound .*gj[0-9]-.*\.mp3 at \([0-9]*\) ms.*/\1/p' \
            "$work/pellor.out" | head -n 1)"
        [ -n "$at" ] && recorded "$work" $((at + 3000 - $(music_ms "$work")))
    }
    wait_for recorded "$work" 15000 || echo "the recording stopped short"
    wait_for voice_done || echo "no voice was asked for in time"
fi
stop_all
judge "$work" || failed=1
traced "$work" 'sound .*gj[0-9]-.*\.mp3' || { echo "table: no voice was asked for"; failed=1; }

# MIDI and MP3 music chosen in the settings, side by side: each recorded
# for a second past its end.
declare -A program_of
for name in song.mid music.mp3; do
    make_folder "$top/$name" "$name"
    start_table "$top/$name"
    program_of[$name]="$pellor_pid"
done
for name in song.mid music.mp3; do
    pellor_pid="${program_of[$name]}"
    length=$([ "$name" = song.mid ] && echo 2000 || echo 3000)
    wait_for recorded "$top/$name" $((length + 2500)) || echo "$name: the recording stopped short"
done
stop_all
for name in song.mid music.mp3; do
    judge "$top/$name" || failed=1
done
exit "$failed"
