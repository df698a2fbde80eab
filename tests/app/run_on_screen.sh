#!/usr/bin/env bash
# scripts/run.sh with a display: the frame and the table reach the X screen.
# A picture of the root window is left for a person to look at. Skipped
# (77) without a display.
set -uo pipefail
source_dir="$1"
build_dir="$2"
output_dir="$3"
if [ -z "${DISPLAY:-}" ]; then
    echo "no display: skipped"
    exit 77
fi
if [ ! -x "$build_dir/assets/Pellor" ] || [ ! -x "$build_dir/tools/tablehost/tablehost" ]; then
    echo "Pellor or the table host is not built here: skipped"
    exit 77
fi
mkdir -p "$output_dir"
config="$(mktemp -d)"
trap 'rm -rf "$config"' EXIT

PELLOR_CONFIG_DIR="$config" PELLOR_SKIP_BUILD=1 PELLOR_BUILD_DIR="$build_dir" \
    bash "$source_dir/scripts/run.sh" >"$output_dir/run.out" 2>&1 &
run_pid=$!

# The frame's window, by its title (a minute at most: the machine may be busy).
shown=""
for _ in $(seq 1 600); do
    if xwininfo -root -tree 2>/dev/null | grep -q "Morvane"; then
        shown=yes
        break
    fi
    kill -0 "$run_pid" 2>/dev/null || break
    sleep 0.1
done

# The colour of the middle of the screen: red, green and blue.
middle() {
    convert "$picture" -gravity center -crop 300x200+0+0 -resize 1x1\! \
        -format "%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]" info:
}
# The table's cloth is green: the screen is taken until green leads in its
# middle, as the first frames reach it (a minute at most).
picture="$output_dir/run-screen.png"
red=0 green=0 blue=0
if [ -n "$shown" ]; then
    for _ in $(seq 1 120); do
        import -window root "$picture"
        read -r red green blue < <(middle)
        if [ "$green" -gt "$red" ] && [ "$green" -gt "$blue" ] && [ "$green" -ge 40 ]; then
            break
        fi
        sleep 0.5
    done
fi

pellor_pid="$(pgrep -P "$run_pid" -x Pellor || true)"
[ -n "$pellor_pid" ] && kill "$pellor_pid"
wait "$run_pid"

if [ -z "$shown" ]; then
    echo "the main window never showed"
    cat "$output_dir/run.out"
    exit 1
fi
echo "middle of the screen: $red $green $blue ($picture)"
if [ "$green" -le "$red" ] || [ "$green" -le "$blue" ] || [ "$green" -lt 40 ]; then
    echo "the table is not on the screen"
    exit 1
fi
grep -q "table host on 127.0.0.1" "$output_dir/run.out" || { cat "$output_dir/run.out"; exit 1; }
echo "the frame and the table are on the X screen"
