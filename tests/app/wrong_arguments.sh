#!/usr/bin/env bash
# The program started with a launch record of the wrong length: it fails to
# enter the game, logs "进入游戏通道失败!" and, headless, prints it; it exits
# with a failure. It runs from a program folder of its own so that its log
# and settings land there.
set -uo pipefail
build_dir="$1"
if [ ! -x "$build_dir/assets/Pellor" ]; then
    echo "Pellor is not built here: skipped"
    exit 77
fi
folder="$(mktemp -d)"
trap 'rm -rf "$folder"' EXIT
for entry in "$build_dir"/assets/*; do
    name="$(basename "$entry")"
    case "$name" in
    Pellor | Pellor2.log | snapshot) ;;
    pellor2.ini) cp "$entry" "$folder/" ;;
    *) ln -s "$entry" "$folder/$name" ;;
    esac
done
cp "$build_dir/assets/Pellor" "$folder/Pellor"
mkdir -p "$folder/config"
failed=0
for args in "" "1 alice Alice"; do
    # shellcheck disable=SC2086
    out="$(PELLOR_DISPLAY=headless PELLOR_CONFIG_DIR="$folder/config" "$folder/Pellor" $args 2>&1)"
    code=$?
    if [ "$code" -eq 0 ]; then
        echo "with arguments '$args' the program did not fail"
        failed=1
    fi
    if ! grep -q "进入游戏通道失败!" <<<"$out"; then
        echo "with arguments '$args' the output lacks the entry notice:"
        echo "$out"
        failed=1
    fi
    if ! iconv -c -f GBK -t UTF-8 "$folder/Pellor2.log" | grep -q "进入游戏通道失败!"; then
        echo "with arguments '$args' the log lacks the entry notice"
        failed=1
    fi
    rm -f "$folder/Pellor2.log"
done
exit "$failed"
