# Sourced by the scripts that start the program: a throw-away folder in $work, removed on
# exit together with the program started last (its id in $pid), so that a failed check
# leaves no program running.
work=$(mktemp -d)
pid=
cleanup() {
    if [[ -n $pid ]]; then kill "$pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

# An empty home in $work (or in $work/home$1), for the program and what it starts.
empty_home() {
    export HOME=$work/home${1:-} XDG_DATA_HOME=$work/home${1:-}/data XDG_CONFIG_HOME=$work/home${1:-}/config
    mkdir -p "$HOME"
}
fail() {
    echo "$*"
    exit 1
}

# Waits until the virtual screen in $DISPLAY answers, so that the program is never started
# without one (it would end at once) and a screen that never answers is reported as such.
wait_for_display() {
    for _ in $(seq 100); do
        xdpyinfo >/dev/null 2>&1 && return
        sleep 0.1
    done
    fail "the virtual screen $DISPLAY did not answer in 10 s"
}
