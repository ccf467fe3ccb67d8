#!/usr/bin/env bash
# Installs a built tree into a throw-away prefix, checks the desktop entry, starts the
# installed program on a virtual screen with an empty home, and checks that its first start
# made the working database from the template.
# Usage: scripts/install-test.sh <build directory>
set -euo pipefail
build=${1:?usage: $0 <build directory>}
source "$(dirname "$0")/lib.sh"

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null

desktop=$prefix/share/applications/tarnwick.desktop
desktop-file-validate "$desktop"
grep -qx "Exec=$prefix/bin/tarnwick" "$desktop" || { echo "Exec line does not name the installed program" >&2; exit 1; }
[[ $(readlink -f "$prefix/bin/tarnwick") == "$prefix/libexec/tarnwick/tarnwick" ]] || { echo "bin/tarnwick does not lead to the program" >&2; exit 1; }
[[ -f $prefix/libexec/tarnwick/HAND-M.CUR ]] || { echo "the hand pointer is not installed beside the program" >&2; exit 1; }
for icon in scalable/apps/tarnwick.svg 48x48/apps/tarnwick.png 256x256/apps/tarnwick.png; do
    [[ -f $prefix/share/icons/hicolor/$icon ]] || { echo "icon $icon not installed" >&2; exit 1; }
done

empty_home
db=$XDG_DATA_HOME/Velquor/Tarnwick/dbData.mdb
program=$prefix/bin/tarnwick
xvfb-run -a -s "$(screen_options 1280x1024x24)" "$program" >"$work/out.log" 2>&1 &
pid=$!
for _ in $(seq 200); do
    [[ -s $db ]] && break
    if ! kill -0 "$pid" 2>/dev/null; then
        echo "the installed program ended before making its database:" >&2
        cat "$work/out.log" >&2
        exit 1
    fi
    sleep 0.1
done
# Give the copy time to finish its rename before the program is stopped.
sleep 1
# The program is stopped, not xvfb-run: then xvfb-run ends as its command ended and stops its
# server, and neither is left running.
pkill -x -f "$program" || true
wait "$pid" 2>/dev/null || true
pid=
[[ -s $db ]] || { echo "no working database after 20 s: $db" >&2; cat "$work/out.log" >&2; exit 1; }

[[ $(sqlite3 "$db" 'PRAGMA integrity_check;') == ok ]] || { echo "working database is damaged" >&2; exit 1; }
tables() { sqlite3 "$1" "SELECT name FROM sqlite_master WHERE type IN ('table','view') ORDER BY name;"; }
if ! diff <(tables "$prefix/libexec/tarnwick/dbBlank.mdb") <(tables "$db"); then
    echo "working database lacks tables or views of the template" >&2
    exit 1
fi
# The Debian package: the same files under /usr, and dependencies naming Qt, SQLite and qpdf.
if command -v dpkg-deb >/dev/null && [[ -f $build/CPackConfig.cmake ]]; then
    cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/deb" >"$work/cpack.log" 2>&1 || {
        cat "$work/cpack.log" >&2
        exit 1
    }
    deb=$(echo "$work"/deb/tarnwick_*.deb)
    [[ -f $deb ]] || { echo "cpack made no tarnwick package" >&2; exit 1; }
    dpkg-deb -x "$deb" "$work/root"
    root=$work/root
    for file in libexec/tarnwick/tarnwick libexec/tarnwick/dbBlank.mdb libexec/tarnwick/HAND-M.CUR \
        share/applications/tarnwick.desktop \
        share/icons/hicolor/scalable/apps/tarnwick.svg share/icons/hicolor/48x48/apps/tarnwick.png; do
        [[ -f $root/usr/$file ]] || { echo "package lacks /usr/$file" >&2; exit 1; }
    done
    [[ $(readlink "$root/usr/bin/tarnwick") == ../libexec/tarnwick/tarnwick ]] || { echo "package's bin/tarnwick does not lead to the program" >&2; exit 1; }
    grep -qx "Exec=/usr/bin/tarnwick" "$root/usr/share/applications/tarnwick.desktop" || { echo "package's launcher does not start /usr/bin/tarnwick" >&2; exit 1; }
    depends=$(dpkg-deb -f "$deb" Depends)
    for dep in libqt6widgets6 libqt6gui6 libqt6core6 libqt6printsupport6 libsqlite3-0 libxcb1 libqpdf29; do
        [[ $depends == *"$dep"* ]] || { echo "package Depends lacks $dep: $depends" >&2; exit 1; }
    done
fi
echo "install test passed"
