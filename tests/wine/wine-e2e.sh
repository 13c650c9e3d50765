#!/bin/bash

# SPDX-FileCopyrightText: 2026 The Nesdrix developers
#
# SPDX-License-Identifier: Apache-2.0

# The Windows programs under Wine against the Linux device simulator:
#
#   tests/netns-fleet.sh --simulator DEVSIM FLEET -- tests/wine/wine-e2e.sh SCENARIO BIN
#
# BIN is the cross build's program folder, or for the window the zip's folder,
# run with nothing else on its path. Scenarios (tests/wine/CMakeLists.txt
# gives each its simulator arguments):
#   cli-scan  nesdrix-cli.exe scan lists the fleet, as a table and as JSON
#   cli-set   nesdrix-cli.exe set writes a device and its audit line; flash
#             ends in order on Ctrl+C
#   window    nesdrix.exe under Xvfb lists the fleet; NESDRIX_WINE_SCREENSHOT
#             names a PNG file to keep the screenshot in
set -eu
wait_for_log_seconds=60
. "$(dirname "$0")/../e2e-checks.sh"

scenario=${1:?scenario}
bin=${2:?the Windows program folder}
log=${NESDRIX_SIM_LOG:?run through tests/netns-fleet.sh}
wine_run=${NESDRIX_WINE_RUN:?wine-run.sh}
work=$(mktemp -d "${TMPDIR:-/tmp}/nesdrix-wine-e2e.XXXXXX")
pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    if [ -d "$work/prefix" ]; then
        WINEPREFIX="$work/prefix" wineserver --kill 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
cd "$work"
# One Wine prefix for the whole scenario: the audit log stays in its profile.
export NESDRIX_WINE_PREFIX="$work/prefix"

fail() {
    if [ -s err.raw ]; then
        echo "--- the last program's stderr" >&2
        tr -d '\r' <err.raw >&2
    fi
    echo "FAIL ($scenario): $*" >&2
    exit 1
}

# run STATUS PROGRAM ARGS...: runs a program of BIN, output (without the carriage
# returns of Windows line ends) in out.txt and err.txt, and checks its status.
run() {
    local expected=$1 program=$2 status=0
    shift 2
    "$wine_run" "$bin/$program" "$@" >out.raw 2>err.raw || status=$?
    tr -d '\r' <out.raw >out.txt
    tr -d '\r' <err.raw >err.txt
    if [ "$status" -ne "$expected" ]; then
        echo "--- stdout" >&2; cat out.txt >&2
        echo "--- stderr" >&2; cat err.txt >&2
        fail "$program $* exited $status, expected $expected"
    fi
}

cli_scan() {
    # tests/fleets/five-devices.txt: devices 1 and 3 share a MAC, 2 and 4 an IP.
    run 0 nesdrix-cli.exe scan --wait-ms 1500 --format json
    cp out.txt scan.json
    [ "$(count_lines out.txt '"mac":')" -eq 5 ] || fail "json: expected 5 devices"
    [ "$(count_lines out.txt '"duplicateIp": true')" -eq 2 ] || fail "json: 2 IP duplicates"
    [ "$(count_lines out.txt '"duplicateMac": true')" -eq 2 ] || fail "json: 2 MAC duplicates"
    contains out.txt '"name": "Panel 1"'
    run 0 nesdrix-cli.exe scan --wait-ms 1500
    [ "$(wc -l <out.txt)" -eq 6 ] || fail "table: expected a header and 5 devices"
    contains out.txt "Panel 1"
    # Both went out as broadcasts from the program's side.
    [ "$(count_lines "$log" "from 192.0.2.1: scan")" -ge 2 ] || fail "the scans did not arrive"
    cat scan.json
}

cli_set() {
    # --restart-after-ms 300, --peer-address 192.0.2.30.
    local panel=02:4E:58:00:00:02 status=0 pid peer=${NESDRIX_PEER_MAC:?no peer}
    # Ctrl+C reaches the console handler: the flash stops in order.
    "$wine_run" "$bin/nesdrix-cli.exe" flash $panel --seconds 600 --wait-ms 1500 \
        >out.raw 2>err.raw &
    pid=$!
    pids+=("$pid")
    wait_for_log "LED flashing on: $panel"
    kill -USR1 "$pid"
    wait "$pid" || status=$?
    tr -d '\r' <out.raw >out.txt
    [ $status -eq 0 ] || { cat out.txt err.raw >&2; fail "flash ended with $status after Ctrl+C"; }
    wait_for_log "LED flashing off: $panel 192.0.2.65 Panel 1 (stop request)"
    contains out.txt "Stopped."

    run 5 nesdrix-cli.exe set $panel --ip 192.0.2.30 --yes
    contains err.txt "192.0.2.30 is in use by $peer; nothing written"
    run 0 nesdrix-cli.exe set $panel --ip 192.0.2.150 --mask 255.255.255.192 \
        --gateway 192.0.2.190 --yes
    # Wine shows a failed resolution as an entry without an address, which
    # tells nothing: the check runs out of time (Windows says "free").
    contains out.txt "New IP 192.0.2.150: not checked: no answer in time"
    wait_for_log "modify request for $panel"
    contains "$log" "modify request for $panel 192.0.2.65 Panel 1: new MAC $panel, IP 192.0.2.150, net mask 255.255.255.192, gateway 192.0.2.190"
    # The default audit log, in the user's local application data.
    local audit
    audit=$(find "$NESDRIX_WINE_PREFIX/drive_c/users" -path '*/nesdrix/audit.csv' | head -n 1)
    [ -n "$audit" ] || fail "no audit log in the user's local application data"
    tr -d '\r' <"$audit" >audit.csv
    [ "$(wc -l <audit.csv)" -eq 2 ] || fail "expected the header and one write"
    contains audit.csv ",$panel,192.0.2.65,255.255.255.0,192.0.2.1,192.0.2.150,255.255.255.192,192.0.2.190,sent,not checked: no answer in time"
    wait_for_log "restarted: $panel 192.0.2.150"
    run 0 nesdrix-cli.exe scan --wait-ms 1500 --format csv
    contains out.txt "Panel 1,192.0.2.150,$panel,255.255.255.192,192.0.2.190"
}

# clipboard: what the X clipboard holds, without carriage returns.
clipboard() {
    xclip -selection clipboard -o 2>/dev/null | tr -d '\r' || true
}

# listed_rows WINDOW: the rows the window lists, one a line, as its Copy Row
# gives them: a click into the table, then Ctrl+Home, and Ctrl+C and Down for
# each row until the copy no longer changes.
listed_rows() {
    local WIDTH HEIGHT previous="" row tries
    eval "$(xdotool getwindowgeometry --shell "$1" | grep -E '^(WIDTH|HEIGHT)=')"
    xdotool mousemove --window "$1" $((WIDTH / 2)) $((HEIGHT / 2)) click 1
    xdotool key ctrl+Home
    for _ in 1 2 3 4 5 6 7 8; do
        xdotool key ctrl+c
        tries=0
        row=$(clipboard)
        until [ -n "$row" ] && [ "$row" != "$previous" ]; do
            tries=$((tries + 1))
            [ $tries -le 20 ] || return 0
            sleep 0.1
            row=$(clipboard)
        done
        echo "$row"
        previous=$row
        xdotool key Down
    done
}

window() {
    command -v Xvfb >/dev/null && command -v xdotool >/dev/null && command -v xclip >/dev/null \
        && command -v import >/dev/null \
        || { echo "wine-e2e.sh: Xvfb, xdotool, xclip or ImageMagick missing; skipped" >&2; exit 77; }
    # The X socket is a file, shared with the machine: Xvfb picks a free display.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>display >/dev/null 2>&1 &
    pids+=("$!")
    local tries=0
    until [ -s display ]; do
        tries=$((tries + 1))
        [ $tries -le 100 ] || fail "Xvfb did not start"
        sleep 0.1
    done
    export DISPLAY=":$(cat display)"
    [ -f "$bin/nesdrix.exe" ] \
        || { echo "wine-e2e.sh: no $bin/nesdrix.exe; scripts/build-windows.sh package makes it; skipped" >&2; exit 77; }
    unset QT_QPA_PLATFORM
    # Wine's own desktop in one X window: it places and focuses the program's
    # window as Windows would, with no window manager on the display.
    NESDRIX_WINE_BARE=1 "$wine_run" explorer /desktop=nesdrix,1024x768 "Z:$(printf '%s' "$bin" | tr / '\\')\\nesdrix.exe" \
        >out.raw 2>err.raw &
    pids+=("$!")
    wait_for_log "sent 5 replies to 192.0.2.1"
    local desktop
    desktop=$(timeout 120 xdotool search --sync --onlyvisible --name 'Wine desktop' | head -n 1)
    [ -n "$desktop" ] || fail "no Wine desktop window"
    # The replies may still be on their way into the window: read its rows
    # again until all are there.
    local reads=0
    until listed_rows "$desktop" >rows.txt; [ "$(wc -l <rows.txt)" -ge 5 ]; do
        reads=$((reads + 1))
        [ $reads -le 10 ] || break
    done
    import -window root screen.png
    if [ -n "${NESDRIX_WINE_SCREENSHOT:-}" ]; then
        cp screen.png "$NESDRIX_WINE_SCREENSHOT"
    fi
    cat rows.txt
    [ "$(wc -l <rows.txt)" -eq 5 ] || fail "expected 5 rows in the window"
    for name in "Panel 1" "Module 16 bytes!"; do
        contains rows.txt "$name"
    done
}

"${scenario//-/_}"
