#!/usr/bin/env bash
# Starts the built program as a desktop with a screen reader runs it: on a virtual screen,
# with a session bus whose accessibility bus is switched on (as an assistive technology
# switches it on), and checks that the program registers there and shows its main window with
# the menu bar, the asset list and the seven buttons, each under its caption.
# Usage: scripts/a11y-test.sh <build directory>   (needs xvfb-run, dbus-run-session, gdbus,
# at-spi2-core)
set -euo pipefail
build=$(realpath "${1:?usage: $0 <build directory>}")
source "$(dirname "$0")/lib.sh"
if [[ ${TARNWICK_A11Y_INNER:-} != 1 ]]; then
    # The buses that the session starts on demand take their home from here.
    empty_home
    # The buses' own chatter goes to a log, shown only when the check fails.
    TARNWICK_A11Y_INNER=1 xvfb-run -a -e "$work/screen.log" -s "$(screen_options 1280x1024x24)" \
        dbus-run-session -- "$0" "$build" 2>"$work/buses.log" ||
        { cat "$work/buses.log" "$work/screen.log" >&2; exit 1; }
    exit
fi

call() { gdbus call "$@" 2>/dev/null; }
for _ in $(seq 50); do
    call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
        --method org.freedesktop.DBus.Properties.Set org.a11y.Status IsEnabled "<true>" \
        >/dev/null && break
    sleep 0.1
done
address=$(call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
    --method org.a11y.Bus.GetAddress | sed "s/^('\(.*\)',)$/\1/")
[[ -n $address ]] || fail "no accessibility bus"

"$build/bin/tarnwick" >"$HOME/out.log" 2>&1 &
pid=$!

# $1 names a bus peer and object path; prints the property $2 of its accessible.
property() {
    call --address "$address" --dest "${1%% *}" --object-path "${1#* }" \
        --method org.freedesktop.DBus.Properties.Get org.a11y.atspi.Accessible "$2"
}
# Prints "peer path" for each child of the accessible $1.
children() {
    call --address "$address" --dest "${1%% *}" --object-path "${1#* }" \
        --method org.a11y.atspi.Accessible.GetChildren |
        grep -o "('[^']*', \(objectpath \)\?'[^']*')" | sed "s/('\([^']*\)', \(objectpath \)\?'\([^']*\)')/\1 \3/"
}
name() { property "$1" Name | sed "s/^(<'\(.*\)'>,)$/\1/"; }

app=
for _ in $(seq 100); do
    for child in $(children "org.a11y.atspi.Registry /org/a11y/atspi/accessible/root" | tr ' ' '|'); do
        if [[ $(name "${child/|/ }") == Tarnwick ]]; then app=${child/|/ }; fi
    done
    [[ -n $app ]] && window=$(children "$app" | head -1) && [[ -n $window ]] && break
    sleep 0.1
done
[[ -n $app ]] || fail "the program did not appear on the accessibility bus:" "$(cat "$HOME/out.log")"
[[ $(name "$window") == Tarnwick ]] || fail "no main window named Tarnwick"

# The menu bar with its menus and the find field, and under it the designed client area with
# the asset list and the seven buttons.
# Prints the names of the children of the accessible $1, sorted.
names() { children "$1" | while read -r child; do name "$child"; done | sort; }
# Prints "peer path" of the child of $1 named $2.
child() { children "$1" | while read -r c; do [[ $(name "$c") == "$2" ]] && echo "$c"; done | head -1; }
check() {
    local shown expected
    shown=$(names "$1")
    expected=$(printf '%s\n' "${@:3}" | sort)
    [[ $shown == "$expected" ]] ||
        fail "$2 on the accessibility bus differ:" "$(diff <(echo "$expected") <(echo "$shown"))"
}
check "$window" "the main window's parts" "Menu bar" "Search" "Assets"
check "$(child "$window" "Menu bar")" "the menu bar's entries" File Edit View Help
check "$(child "$window" Search)" "the search's parts" Find "Rows shown"
check "$(child "$window" Assets)" "the main window's controls" "Asset list" "Add New Record" \
    "Edit Selected Record" "Delete Selected Record" "Load Sample/Example Data" "Help" \
    "Delete All Records" "Create/Print Report"
echo "the program, its main window, its menu bar and its controls are on the accessibility bus"
