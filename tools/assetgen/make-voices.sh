#!/usr/bin/env bash
# Speaks the table's voice lines with espeak-ng's Mandarin voice and encodes
# them as MP3 with lame, into the sound folder given: gj0-* in a man's voice,
# gj1-* in a woman's, as a seat's voice byte picks them.
set -euo pipefail
out="$1"
mkdir -p "$out"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

voices=("cmn" "cmn+f3")
lines=(
    "shao0:烧"
    "shao1:我烧"
    "shaoagain:再烧"
    "revolution1:革命"
    "revolution2:我要革命"
    "tribute:进贡"
)
for index in "${!voices[@]}"; do
    for line in "${lines[@]}"; do
        name="${line%%:*}"
        words="${line#*:}"
        espeak-ng -v "${voices[$index]}" -s 150 -w "$work/line.wav" "$words"
        lame --quiet -b 64 "$work/line.wav" "$out/gj$index-$name.mp3"
    done
done
