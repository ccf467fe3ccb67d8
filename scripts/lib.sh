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

# The virtual screen's server options. A server resets whenever its last client leaves, and
# refuses anyone who connects meanwhile: on a busy machine the program, starting just after a
# helper (the accessibility bus, the window manager) looked at the screen, then finds none.
screen_options() { echo "-screen 0 $1 -noreset"; }
