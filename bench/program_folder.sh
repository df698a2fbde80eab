# Sourced by the measuring scripts: whether the screen and the build are
# there, a program folder of their own in $1 for
# the build's Pellor ($2: the build's assets folder), so that its log, its
# settings and its screenshots are this run's alone. The program itself is
# copied (its folder is where it runs from); the rest is linked.
make_program_folder() {
    local folder="$1" assets="$2" entry name
    mkdir -p "$folder"
    for entry in "$assets"/*; do
        name="$(basename "$entry")"
        case "$name" in
        Pellor2.log | snapshot) ;;
        Pellor | pellor2.ini) cp "$entry" "$folder/" ;;
        *) ln -s "$(realpath "$entry")" "$folder/$name" ;;
        esac
    done
}

# Records the program folder $2 as the platform's shared folder in the
# registry of the config folder $1, as the platform's installation would: the
# program finds its music player there.
record_shared_folder() {
    python3 "$(dirname "${BASH_SOURCE[0]}")/../scripts/record-shared-folder.py" "$1" "$2"
}

# Starts the table host ($1: its program; the rest: its options) and sets
# host_pid and host_port; $work holds its output.
start_host() {
    local program="$1"
    shift
    "$program" --port 0 "$@" >"$work/host.out" 2>&1 &
    host_pid=$!
    host_port=""
    for _ in $(seq 100); do
        host_port="$(sed -n 's/^tablehost listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$work/host.out")"
        [ -n "$host_port" ] && return 0
        sleep 0.1
    done
    echo "the table host did not start" >&2
    return 1
}

# Exits 77 (skipped) unless there is an X screen and $1's build ($2) holds
# Pellor and the table host; $1 names the measuring script in the message.
need_screen_and_build() {
    if [ -z "${DISPLAY:-}" ]; then
        echo "$1: no display: skipped"
        exit 77
    fi
    if [ ! -x "$2/assets/Pellor" ] || [ ! -x "$2/tools/tablehost/tablehost" ]; then
        echo "$1: Pellor or the table host is not built in $2: skipped"
        exit 77
    fi
}
