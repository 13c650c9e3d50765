#!/bin/sh

# SPDX-FileCopyrightText: 2026 The Nesdrix developers
#
# SPDX-License-Identifier: Apache-2.0

# Takes every screenshot in docs/screenshots/ again, from the program in a build
# directory answered by the simulated example fleet:
#   main-window.png      English, the table filled, the window at its start size
#   device-dialog.png    the PLC Info dialog of the first device
#   main-window-filtered.png  English, filtered by "servo", sorted by IP address descending
#   main-window-zh.png   Chinese, the table filled, the Language menu open
#   about-zh.png         Help > About in Chinese
#   host-info-zh.png     Help > Host Info in Chinese
# The program, Xvfb and the window manager run in the program's namespace made
# by tests/netns-fleet.sh, so nothing reaches the machine's own network.
#
# Usage: tools/take-screenshots.sh [build-directory]   (default build; needs root
# and nesdrix, nesdrix-devsim and zh_cn.qm built there)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)

if [ "${1:-}" != "--inside" ]; then
    build=$(realpath "${1:-$root/build}")
    if [ "$(id -u)" -ne 0 ]; then
        echo "take-screenshots.sh: needs root for the network namespaces" >&2
        exit 1
    fi
    "$root/scripts/install-deps.sh" xvfb xdotool imagemagick openbox
    exec "$root/tests/netns-fleet.sh" --simulator "$build/bin/nesdrix-devsim" \
        "$root/tools/devsim/example-fleet.txt" -- "$0" --inside "$build"
fi
build=$2
shots="$root/docs/screenshots"
work=$(mktemp -d)
pids=""
cleanup() {
    for pid in $pids; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

# The X socket is a file, shared with the machine: Xvfb picks a free display itself.
# A black root window, which the shots with an open menu are trimmed from.
Xvfb -displayfd 3 -screen 0 1024x768x24 -br -nolisten tcp -noreset \
    3>"$work/display" >/dev/null 2>&1 &
pids="$!"
# Xvfb names its display once it accepts clients.
tries=0
until [ -s "$work/display" ]; do
    tries=$((tries + 1))
    [ "$tries" -lt 100 ] || { echo "Xvfb did not start" >&2; exit 1; }
    sleep 0.1
done
DISPLAY=":$(cat "$work/display")"
export DISPLAY
openbox >/dev/null 2>&1 &
pids="$pids $!"
sleep 1

# Starts the program from a directory of its own whose language.ini holds $1,
# at the size it starts with, and waits for the fleet to be listed.
start_program() {
    program_dir="$work/$1"
    mkdir "$program_dir"
    cp "$build/bin/nesdrix" "$build/bin/zh_cn.qm" "$program_dir/"
    printf '[Languages]\nlanguages=%s\n' "$1" > "$program_dir/language.ini"
    scans=$(replies_sent)
    # The host name row shows this rather than whoever takes the screenshots.
    USERNAME=technician "$program_dir/nesdrix" >/dev/null 2>&1 &
    program=$!
    pids="$pids $program"
    tries=0
    until [ "$(replies_sent)" -gt "$scans" ]; do
        tries=$((tries + 1))
        [ "$tries" -lt 100 ] || { echo "the fleet was not scanned" >&2; exit 1; }
        sleep 0.1
    done
    window=$(timeout 30 xdotool search --sync --onlyvisible --pid "$program" --name '^Nesdrix$' | head -n 1)
    xdotool windowmove --sync "$window" 40 40
    sleep 1
    # shellcheck disable=SC2046 # one word per number
    set -- $(find_grid_lines)
    row_top=$1
    shift
    grid_xs="$*"
}

# The simulator logs each scan it answered.
replies_sent() {
    grep -c '^sent [0-9]* replies' "$NESDRIX_SIM_LOG" || true
}

stop_program() {
    kill "$program"
    wait "$program" 2>/dev/null || true
}

# Prints "y x1 x2 ...": the top pixel line of the first table row and the x of
# each column's grid line. The grid lines are the grey pixels that stand at the
# same places on most lines of the window.
find_grid_lines() {
    import -window "$window" "$work/window.png"
    convert "$work/window.png" -fill white +opaque '#C7C7C7' -depth 8 txt:- |
        awk -F'[,: ]+' '/#C7C7C7/ { xs[$2] = xs[$2] " " $1; n[$2]++ }
            END {
                for (y in n) if (n[y] >= 3) lines[xs[y]]++
                for (x in lines) if (lines[x] > most) { most = lines[x]; grid = x }
                for (y in n) if (xs[y] == grid && (top == "" || y + 0 < top + 0)) top = y
                print top grid
            }'
}

grab_window() {
    import -window "$1" -frame "$shots/$2"
}

grab_dialog() {
    dialog=$(timeout 30 xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1)
    sleep 0.5
    grab_window "$dialog" "$2"
    xdotool key Escape
    sleep 0.5
}

# Clicks the header of the column that ends at the Nth grid line.
click_header() {
    # shellcheck disable=SC2086 # one word per number
    right=$(printf '%s\n' $grid_xs | sort -n | sed -n "$1p")
    xdotool mousemove --window "$window" $((right - 30)) $((row_top - 12)) click 1
    # Apart, so that two clicks are not one double-click.
    sleep 1
}

start_program English
grab_window "$window" main-window.png
# The first device's row, double-clicked.
xdotool mousemove --window "$window" 150 $((row_top + 12)) click --repeat 2 --delay 80 1
grab_dialog "PLC Info" device-dialog.png
# Filtered and sorted: the filter field is above the header.
xdotool mousemove --window "$window" 100 $((row_top - 40)) click 1
xdotool type --delay 50 servo
click_header 3
click_header 3
xdotool mousemove --window "$window" 0 0
sleep 0.5
grab_window "$window" main-window-filtered.png
stop_program

start_program Chinese
# The Language menu (after File) open, its check mark on 中文.
xdotool mousemove --window "$window" 15 10 click 1
sleep 0.3
xdotool key Right
sleep 0.5
import -window root -trim +repage "$shots/main-window-zh.png"
xdotool key Escape
sleep 0.5

# Help is the third menu, reached from File with the arrow keys, which make its
# first entry, About, the active one; Host Info is the next.
open_help_entry() {
    xdotool mousemove --window "$window" 15 10 click 1
    sleep 0.3
    xdotool key Right Right
    sleep 0.5
    xdotool key --delay 150 "$@" Return
}
open_help_entry
grab_dialog "关于" about-zh.png
open_help_entry Down
grab_dialog "主机信息" host-info-zh.png
stop_program
