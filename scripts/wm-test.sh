#!/usr/bin/env bash
# Starts the built program under a real window manager (openbox on a virtual screen) and
# changes its window state the way a taskbar or a keyboard shortcut does, with the
# _NET_WM_STATE message (wmctrl). Checks that the main window opens centred, title bar
# counted; that fifty maximise and restore cycles each end stretched, then at the designed
# size, centred, with the designed layout; and that a resize the window manager passes on
# leaves the designed size as it was.
# Usage: scripts/wm-test.sh <build directory>   (needs xvfb-run, openbox, wmctrl, xdotool,
# xprop, xwininfo)
set -euo pipefail
build=$(realpath "${1:?usage: $0 <build directory>}")
source "$(dirname "$0")/lib.sh"
if [[ ${TARNWICK_WM_INNER:-} != 1 ]]; then
    empty_home
    # A screen at 96 dots per inch, where a twip is 1/15 pixel.
    TARNWICK_WM_INNER=1 xvfb-run -a -s "$(screen_options 1366x768x24) -dpi 96" "$0" "$build"
    exit
fi

openbox >"$work/openbox.log" 2>&1 &
for _ in $(seq 100); do wmctrl -m >/dev/null 2>&1 && break; sleep 0.1; done
wmctrl -m >/dev/null 2>&1 || fail "the window manager did not start:" "$(cat "$work/openbox.log")"
log=$work/layout
TARNWICK_LAYOUT_LOG=$log "$build/bin/tarnwick" >"$work/out.log" 2>&1 &
pid=$!
wid=
for _ in $(seq 100); do
    wid=$(xdotool search --onlyvisible --name '^Tarnwick$' 2>/dev/null | head -1 || true)
    [[ -n $wid ]] && break
    sleep 0.1
done
[[ -n $wid ]] || fail "the main window did not appear"

read -r screen_w screen_h < <(xwininfo -root | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w, h}')
# The client area's place and size, and the frame around it: left, right, top, bottom.
client() {
    xwininfo -id "$wid" | awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
        /Width:/ {w = $2} /Height:/ {h = $2} END {print x, y, w, h}'
}
frame() { xprop -id "$wid" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g'; }
# Waits until the program's own account of its layout gives the state `want` (0 normal, 2
# maximised) and, when asked, the window has the size `size`, and the window, its frame and
# that account stay the same for three looks in a row; prints them then. A busy machine may
# take a while to pass a request on, so an unchanged look alone does not end the wait.
settle() {
    local want=$1 size=${2:-} last= now same=0 x y w h l r t b
    for _ in $(seq 100); do
        now="$(client) $(frame) $(cat "$log" 2>/dev/null)"
        read -r x y w h l r t b _ <<<"$now"
        # The frame counts once the window manager has put one around the window.
        if [[ $now == "$last" && $l$r$t$b =~ ^[0-9]+$ &&
            $(cut -d' ' -f2 "$log" 2>/dev/null) == "$want" &&
            (-z $size || "${w}x$h" == "$size") ]]; then
            ((++same >= 2)) && { echo "$now"; return; }
        else
            same=0
        fi
        last=$now
        sleep 0.1
    done
    fail "the window did not settle in 10 s: $now"
}
# Whether a frame from `at`, `outer` long, stands in the middle of `room`, to a pixel.
centred() { (($1 * 2 - ($3 - $2) <= 2 && ($3 - $2) - $1 * 2 <= 2)); }
# Checks a settled normal window: the designed size, the frame centred and the list and Help
# at their design places.
check_normal() {
    local x y w h l r t b settled
    settled=$(settle 0 "$(field design)") || fail "$1: $settled"
    read -r x y w h l r t b _ <<<"$settled"
    [[ $(cut -d' ' -f2 "$log") == 0 ]] || fail "$1: the window is not in its normal state"
    [[ "${w}x$h" == "$(field design)" ]] ||
        fail "$1: the window is ${w}x$h, not the designed $(field design)"
    [[ $(field list) == "$design_list" && $(field help) == "$design_help" ]] ||
        fail "$1: the layout is not the design's: $(cat "$log")"
    if ! centred $((x - l)) $((w + l + r)) "$screen_w" || ! centred $((y - t)) $((h + t + b)) "$screen_h"; then
        fail "$1: the frame at $((x - l)),$((y - t)) is not centred on the screen"
    fi
}
# One place from the program's account of its layout.
field() { sed "s/.* $1 \([^ ]*\).*/\1/" "$log"; }

# The list and Help at 120, 120, 11760 x 5475 and 120, 6700, 11760 x 405 twips.
design_list=8,8,784x365
design_help=8,447,784x27
check_normal "at the start"

for cycle in $(seq 50); do
    wmctrl -i -r "$wid" -b add,maximized_vert,maximized_horz
    settle 2 >/dev/null
    [[ $(cut -d' ' -f2 "$log") == 2 ]] || fail "cycle $cycle: the window did not maximise"
    read -r _ _ w _ < <(client)
    [[ $(field list) == "8,8,$((w - 22))x"* ]] ||
        fail "cycle $cycle: the maximised list does not fill the window: $(cat "$log")"
    wmctrl -i -r "$wid" -b remove,maximized_vert,maximized_horz
    check_normal "cycle $cycle, restored"
done

# An edge dragged, as the window manager passes it on: larger is undone, smaller refused.
for size in "1000 600" "500 300"; do
    xdotool windowsize "$wid" $size
    settle 0 "$(field design)" >/dev/null
    read -r _ _ w h < <(client)
    [[ "${w}x$h" == "$(field design)" ]] || fail "resized to $size, the window stays ${w}x$h"
done
echo "opened centred; 50 maximise and restore cycles each ended at the designed size," \
    "centred, with the designed layout; resizes were undone"
