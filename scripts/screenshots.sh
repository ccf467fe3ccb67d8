#!/usr/bin/env bash
# Takes pictures of every window of a built Tarnwick on a virtual screen, at 96, 144 and 192 DPI,
# into docs/screenshots/. The program is driven as a user drives it: the sample data is
# loaded, found and filtered, an import and a restore begun, the first asset opened, a history
# entry added, a save that comes after someone else's change, the shared inventory's window
# with a failed test, the report previewed.
# Usage: scripts/screenshots.sh [build directory]   (needs xvfb-run, xdotool, ImageMagick,
# sqlite3)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
out=$PWD/docs/screenshots

if [[ ${TARNWICK_SHOTS_INNER:-} != 1 ]]; then
    mkdir -p "$out"
    # -noreset: see screen_options in scripts/lib.sh, which is read only on the screen.
    TARNWICK_SHOTS_INNER=1 exec xvfb-run -a -s "-screen 0 2400x2000x24 -noreset" "$0" "$build"
fi

source scripts/lib.sh

# The window whose title is exactly $1, once it is shown.
window() {
    for _ in $(seq 100); do
        local id
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | tail -1) || true
        if [[ -n $id ]]; then echo "$id"; return; fi
        sleep 0.1
    done
    echo "no window \"$1\"" >&2
    return 1
}

# Saves window $1 as $2.png in 256 colours, once it has had time to paint.
shot() {
    sleep 0.7
    import -window "$1" "$work/shot.png"
    convert "$work/shot.png" -colors 256 PNG8:"$out/$2.png"
}

# Saves the screen over window $1 as $2.png: the window with the boxes it shows over itself.
shot_over() {
    sleep 0.7
    eval "$(xdotool getwindowgeometry --shell "$1")"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$work/shot.png"
    convert "$work/shot.png" -colors 256 PNG8:"$out/$2.png"
}

# Clicks at design place ($2, $3) in twips inside window $1, at $tenths tenths of full scale
# (the shell counts in whole numbers only); $4 pixels lower where a menu bar stands over the
# design's client area.
click() {
    local x y
    x=$(($2 * tenths / 150)) y=$(($3 * tenths / 150 + ${4:-0}))
    xdotool mousemove --window "$1" "$x" "$y" click 1
    sleep 0.3
}

# Types $2 into window $1 and waits for it to paint.
type_into() {
    xdotool type --window "$1" --delay 20 "$2"
    sleep 0.5
}

for tenths in 10 15 20; do
    scale=$((tenths / 10)).$((tenths % 10))
    dpi=$((96 * tenths / 10))
    export QT_SCALE_FACTOR=$scale
    empty_home "$scale"
    "$build/bin/tarnwick" >"$work/out$scale.log" 2>&1 &
    pid=$!
    main=$(window Tarnwick)
    shot "$main" "main-empty-$dpi"
    # The menu bar's height: what the window has beyond the design's 482 pixels of client area.
    eval "$(xdotool getwindowgeometry --shell "$main")"
    bar=$((HEIGHT - 482 * tenths / 10))

    # Load Sample/Example Data.
    click "$main" 2040 6380 "$bar"
    sleep 1
    shot "$main" "main-$dpi"

    # A few history entries for the first asset, so that both panes show rows.
    sqlite3 "$XDG_DATA_HOME/Velquor/Tarnwick/dbData.mdb" "
        insert into Maintenance (AssetID,MaintenanceDate,MaintenanceDescription,
            MaintenancePerformedBy,MaintenanceCost)
        values (1,'2026-03-02','New toner drum','Carter, Daniel',89.5),
               (1,'2026-09-14','Paper feed cleaned','WestEast Cost Cars',35);
        insert into Depreciation (AssetID,DepreciationDate,DepreciationAmount)
        values (1,'2025-12-31',32),(1,'2026-06-30',32);"

    # Maintenance due on two of the assets, one of them overdue; then a find, and the due view.
    sqlite3 "$XDG_DATA_HOME/Velquor/Tarnwick/dbData.mdb" "
        update Assets set NextSchedMaint=date('now','-5 days') where AssetID=1;
        update Assets set NextSchedMaint=date('now','+12 days') where AssetID=2;
        update Assets set NextSchedMaint=date('now','+90 days') where AssetID=3;"
    xdotool key --window "$main" F5
    xdotool key --window "$main" ctrl+f
    type_into "$main" "printer"
    shot "$main" "main-find-$dpi"
    xdotool key --window "$main" Escape ctrl+d
    sleep 0.5
    shot "$main" "main-due-$dpi"
    xdotool key --window "$main" ctrl+d

    # An import of a file with problems: the summary before anything is written.
    printf '%s\r\n' "Description,Purchase Price,Date Acquired,Vendor Name,Colour" \
        "Desk,120.50,2026-01-15,Simmons Supplies,oak" "Chair,twelve,2026-01-15,Simmons Supplies," \
        "Lamp,25,31/02/2026,New Lamps Ltd,red" ",8,2026-02-01,,blue" >"$HOME/assets.csv"
    xdotool key --window "$main" ctrl+i
    sleep 1
    # The file dialog opens in the home folder; its name field is cleared of any key that
    # came through with the shortcut.
    files=$(window "Import Assets")
    xdotool windowfocus --sync "$files" key ctrl+a BackSpace
    type_into "$files" "assets.csv"
    xdotool key Return
    sleep 1
    summary=$(window "Import Assets")
    shot "$summary" "import-summary-$dpi"
    xdotool windowfocus --sync "$summary" key Escape
    sleep 0.5

    # File → Restore…: the backups (the day's first start made one), then the question asked
    # before a backup replaces the inventory, answered No.
    xdotool windowfocus --sync "$main" key alt+f
    sleep 0.5
    xdotool key r
    restore=$(window Restore)
    shot "$restore" "restore-$dpi"
    xdotool windowfocus --sync "$restore" key Return
    sleep 1
    question=$(window Restore)
    shot "$question" "restore-question-$dpi"
    xdotool windowfocus --sync "$question" key Escape
    sleep 0.5
    xdotool windowfocus --sync "$restore" key Escape
    sleep 0.5

    # The first asset in the editor: its row, then Edit Selected Record; each page of it.
    click "$main" 3000 500 "$bar"
    click "$main" 6000 5870 "$bar"
    editor=$(window "Edit Data")
    shot "$editor" "editor-$dpi"
    click "$editor" 2100 4560
    shot "$editor" "editor-depreciation-$dpi"
    click "$editor" 3240 4560
    shot "$editor" "editor-comments-$dpi"
    click "$editor" 600 4560

    # Maintenance: the pane's Add New.
    click "$editor" 1440 7830
    dialog=$(window "Add New Maintenance")
    shot "$dialog" "maintenance-$dpi"
    click "$dialog" 3840 2240 # Cancel

    # Depreciation: its tab, then the pane's Add New.
    click "$editor" 2100 4560
    click "$editor" 1440 7830
    dialog=$(window "Add Depreciation")
    shot "$dialog" "depreciation-$dpi"
    click "$dialog" 2040 1280 # Cancel

    # Someone else changes the asset while it is open: Save Data says so and keeps the editor.
    sqlite3 "$XDG_DATA_HOME/Velquor/Tarnwick/dbData.mdb" \
        "update Assets set Comments='Toner checked' where AssetID=1"
    click "$editor" 2000 8445 # Save Data
    shot_over "$editor" "editor-conflict-$dpi"
    xdotool key Return
    click "$editor" 6000 8445 # Cancel

    # File → Open Shared Inventory…, and a Test that finds no server.
    xdotool windowfocus --sync "$main" key alt+f
    sleep 0.3
    xdotool key s
    shared=$(window "Open Shared Inventory")
    xdotool windowfocus --sync "$shared"
    type_into "$shared" "127.0.0.1"
    xdotool key Tab ctrl+a
    type_into "$shared" "5433"
    for text in inventory anna secret; do
        xdotool key Tab
        type_into "$shared" "$text"
    done
    xdotool key alt+e
    shot "$shared" "shared-inventory-$dpi"
    xdotool key Escape

    # Create/Print Report.
    click "$main" 9960 5870 "$bar"
    preview=$(xdotool search --onlyvisible --name "." | while read -r id; do
        [[ $id != "$main" ]] && echo "$id"
    done | tail -1)
    shot "$preview" "report-$dpi"

    kill "$pid"
    wait "$pid" 2>/dev/null || true
    pid=
done
ls -l "$out"
