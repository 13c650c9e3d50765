#!/bin/bash

# SPDX-FileCopyrightText: 2026 The Nesdrix developers
#
# SPDX-License-Identifier: Apache-2.0

# End-to-end scenarios of nesdrix-cli against the device simulator:
#
#   tests/netns-fleet.sh --simulator DEVSIM [ARGS...] -- tests/cli-e2e.sh SCENARIO CLI
#
# Each scenario runs on the program's side of the namespaces netns-fleet.sh
# makes, reads the simulator's log (NESDRIX_SIM_LOG) and exits non-zero on the
# first check that fails. The simulator arguments each scenario expects are
# those of tests/CMakeLists.txt.
set -eu
. "$(dirname "$0")/e2e-checks.sh"

scenario=${1:?scenario}
cli=${2:?path to nesdrix-cli}
log=${NESDRIX_SIM_LOG:?run through tests/netns-fleet.sh}
work=$(mktemp -d "${TMPDIR:-/tmp}/nesdrix-cli-e2e.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
# The default audit log lives in the user's state folder.
export XDG_STATE_HOME="$work/state"
audit_log="$XDG_STATE_HOME/nesdrix/audit.csv"

fail() {
    echo "FAIL ($scenario): $*" >&2
    exit 1
}

# run STATUS ARGS...: runs the CLI, output in out.txt and err.txt, and checks its status.
run() {
    local expected=$1 status=0
    shift
    "$cli" "$@" >out.txt 2>err.txt || status=$?
    if [ "$status" -ne "$expected" ]; then
        echo "--- stdout" >&2; cat out.txt >&2
        echo "--- stderr" >&2; cat err.txt >&2
        fail "nesdrix-cli $* exited $status, expected $expected"
    fi
}

# plan_for FIRST LAST: a plan giving generated devices FIRST..LAST the addresses
# 192.0.2.(129+n), written in the form the README shows.
plan_for() {
    echo "# MAC,IP,MASK,GATEWAY"
    echo "MAC,IP,MASK,GATEWAY"
    for n in $(seq "$1" "$2"); do
        printf '02:00:00:00:00:%02X,192.0.2.%d,255.255.255.0,192.0.2.1\n' "$n" $((129 + n))
    done
}

scan_formats() {
    # tests/fleets/five-devices.txt: devices 1 and 3 share a MAC, 2 and 4 an IP.
    run 0 scan --wait-ms 1000
    [ "$(wc -l <out.txt)" -eq 6 ] || fail "table: expected a header and 5 devices"
    contains out.txt "Device Type  Device Name"
    [ "$(count_lines out.txt 'MAC')" -eq 3 ] || fail "table: two MAC duplicates expected"
    contains out.txt "Panel 1"
    run 0 scan --wait-ms 1000 --format csv
    [ "$(wc -l <out.txt)" -eq 6 ] || fail "csv: expected a header and 5 devices"
    contains out.txt "type,name,ip,mac,mask,gateway,version,points,duplicate"
    contains out.txt "HMI,Panel 1,192.0.2.65,02:4E:58:00:00:02,255.255.255.0,192.0.2.1,"
    [ "$(count_lines out.txt ",IP")" -eq 2 ] || fail "csv: two IP duplicates expected"
    contains out.txt ",Module 16 bytes!,192.0.2.68,02:4E:58:00:00:05,255.255.255.192,"
    run 0 scan --wait-ms 1000 --format json
    [ "$(count_lines out.txt '"mac":')" -eq 5 ] || fail "json: expected 5 devices"
    [ "$(count_lines out.txt '"duplicateIp": true')" -eq 2 ] || fail "json: 2 IP duplicates"
    [ "$(count_lines out.txt '"duplicateMac": true')" -eq 2 ] || fail "json: 2 MAC duplicates"

    run 1 scan --format xml
    contains err.txt "--format takes table, csv or json"
    run 1 scan --colour
    contains err.txt "Unknown option 'colour'"
    # A network where nothing answers: an empty list for scripts on stdout, the
    # message on stderr, status 2.
    local format status
    for format in table csv json; do
        status=0
        unshare --net sh -c 'ip link add nx0 type veth peer name nx1 &&
            ip addr add 192.0.2.1/24 dev nx0 && ip link set nx1 up && ip link set nx0 up &&
            until ip -br link show nx0 | grep -q " UP "; do sleep 0.1; done &&
            exec "$0" scan --tries 1 --wait-ms 300 --format "$1"' "$cli" $format \
            >out.txt 2>err.txt || status=$?
        [ $status -eq 2 ] || fail "nothing answered ($format): status $status, expected 2"
        contains err.txt "no device answered within 300 ms"
        case $format in
        table) [ ! -s out.txt ] || fail "table: output for no device" ;;
        csv) [ "$(wc -l <out.txt)" -eq 1 ] && grep -q "^type,name,ip,mac," out.txt ||
            fail "csv: the header line alone expected" ;;
        json) [ "$(cat out.txt)" = "[]" ] || fail "json: [] expected" ;;
        esac
    done
    if command -v setpriv >/dev/null; then
        local status=0
        setpriv --reuid=65534 --regid=65534 --clear-groups "$cli" scan >out.txt 2>err.txt \
            || status=$?
        [ $status -eq 4 ] || fail "without privilege: status $status, expected 4"
        contains err.txt "Only Nesdrix's launcher may open the port"
    fi
}

set_one_device() {
    # tests/fleets/five-devices.txt, --restart-after-ms 300.
    local panel=02:4E:58:00:00:02
    run 1 set $panel --ip 192.0.2.300 --mask 255.255.255.0 --gateway 192.0.2.1
    contains err.txt 'IP Address Error! "192.0.2.300"'
    run 1 set 02:4E:58:00:00 --ip 192.0.2.70 --mask 255.255.255.0 --gateway 192.0.2.1
    contains err.txt "MAC Address Error!"
    run 1 set $panel
    contains err.txt "set needs at least one of --ip, --mask and --gateway"
    # --ip alone keeps the mask and gateway as reported; only the IP is a change.
    # The devices' side answers ARP for all of 192.0.2.64/26: new addresses lie outside it.
    run 0 set $panel --ip 192.0.2.150
    contains out.txt "IP 192.0.2.65 -> 192.0.2.150 (mask 255.255.255.0, gateway 192.0.2.1 unchanged) via veth0"
    run 0 set $panel --ip 192.0.2.65 --yes
    contains out.txt "Nothing written: the device already has these settings"
    [ ! -e "$audit_log" ] || fail "a set without a change opened the audit log"
    run 3 set 02:4E:58:00:00:01 --ip 192.0.2.70 --mask 255.255.255.0 --gateway 192.0.2.1
    contains err.txt "answered 2 times"
    run 3 set 02:4E:58:00:00:99 --ip 192.0.2.70 --mask 255.255.255.0 --gateway 192.0.2.1
    contains err.txt "did not answer the scan"
    run 5 set $panel --ip 192.0.2.68 --mask 255.255.255.0 --gateway 192.0.2.1 --yes
    contains err.txt "192.0.2.68 is in use by 02:4E:58:00:00:05 (Module 16 bytes!); nothing written"

    run 0 set $panel --ip 192.0.2.150 --mask 255.255.255.192 --gateway 192.0.2.190
    contains out.txt "New IP 192.0.2.150: free"
    contains out.txt "IP 192.0.2.65 -> 192.0.2.150, mask 255.255.255.0 -> 255.255.255.192"
    contains out.txt "Nothing written"
    [ ! -e "$audit_log" ] || fail "a dry run created the audit log"
    [ "$(count_lines "$log" "modify request")" -eq 0 ] || fail "a refused set was written"

    run 0 set $panel --ip 192.0.2.150 --mask 255.255.255.192 --gateway 192.0.2.190 --yes
    wait_for_log "modify request for $panel"
    contains "$log" "modify request for $panel 192.0.2.65 Panel 1: new MAC $panel, IP 192.0.2.150, net mask 255.255.255.192, gateway 192.0.2.190"
    [ "$(wc -l <"$audit_log")" -eq 2 ] || fail "expected the header and one write"
    [ "$(stat -c %a "$(dirname "$audit_log")") $(stat -c %a "$audit_log")" = "700 640" ] \
        || fail "the audit log and its folder are not private"
    contains "$audit_log" ",$(hostname),$panel,192.0.2.65,255.255.255.0,192.0.2.1,192.0.2.150,255.255.255.192,192.0.2.190,sent,free"
    wait_for_log "restarted: $panel 192.0.2.150"
    run 0 scan --wait-ms 1000 --format csv
    contains out.txt "Panel 1,192.0.2.150,$panel,255.255.255.192,192.0.2.190"
}

bad_plan() {
    # --count 20: MACs 02:00:00:00:00:01 to 02:00:00:00:00:14.
    {
        plan_for 1 4
        echo "02:00:00:00:00:63,192.0.2.150,255.255.255.0,192.0.2.1"
        echo "02:00:00:00:00:05,192.0.2.131,255.255.255.0,192.0.2.1"
        echo "02:00:00:00:00:06;192.0.2.152;255.255.255.0;192.0.2.1"
        echo "02:00:00:00:00:07,192.0.2.153,255.255.255.0"
    } >plan.csv
    run 5 apply plan.csv --yes --wait-ms 1000
    contains err.txt "plan refused, nothing written"
    contains err.txt "line 7: MAC 02:00:00:00:00:63 did not answer the scan"
    contains err.txt "line 8: new IP 192.0.2.131 is already planned on line 4"
    contains err.txt "line 9: fields are separated by commas, not semicolons"
    contains err.txt "line 10: expected 4 fields MAC,IP,MASK,GATEWAY, found 3"
    [ "$(grep -c '^line ' err.txt)" -eq 4 ] || fail "only the four bad lines are named"
    [ "$(count_lines "$log" "modify request")" -eq 0 ] || fail "a refused plan was written"
    [ ! -e "$audit_log" ] || fail "a refused plan opened the audit log"
    run 1 apply missing.csv
    contains err.txt "cannot read the plan missing.csv"
}

good_plan() {
    # --count 20 --restart-after-ms 200: device n is at 192.0.2.(63+n). Devices 19
    # and 20 are planned with the settings they have, and a write would only restart them.
    local unchanged="02:00:00:00:00:13,192.0.2.82,255.255.255.0,192.0.2.1
02:00:00:00:00:14,192.0.2.83,255.255.255.0,192.0.2.1"
    echo "$unchanged" >same.csv
    run 0 apply same.csv --yes --wait-ms 1000
    contains out.txt "line 2: nothing to write, 02:00:00:00:00:14"
    contains out.txt "Nothing written: the devices already have these settings."
    [ ! -e "$audit_log" ] || fail "a plan without a change opened the audit log"
    { plan_for 1 18; echo "$unchanged"; } >plan.csv
    run 0 apply plan.csv --wait-ms 1000
    [ "$(count_lines out.txt "would write")" -eq 18 ] || fail "the dry run lists 18 writes"
    contains out.txt "line 21: nothing to write, 02:00:00:00:00:13"
    # A log begun before the address_check column keeps its ten columns.
    echo "time_utc,host,mac,old_ip,old_mask,old_gateway,new_ip,new_mask,new_gateway,outcome" >site.csv
    run 0 apply plan.csv --yes --wait-ms 1000 --verify-after-ms 1000 --audit site.csv
    [ "$(count_lines err.txt "has no address_check column")" -eq 1 ] || fail "expected one warning"
    ! awk -F, 'NF != 10' site.csv | grep -q . || fail "a line does not match the log's header"
    wait_for_log "modify request for 02:00:00:00:00:" 18
    [ "$(count_lines "$log" "modify request")" -eq 18 ] || fail "an unchanged device was written"
    contains out.txt "line 22: nothing to write, 02:00:00:00:00:14"
    contains out.txt "18 devices written, 2 unchanged."
    [ "$(count_lines out.txt " verified at ")" -eq 18 ] || fail "expected 18 devices verified"
    [ "$(count_lines site.csv ",sent")" -eq 18 ] || fail "expected 18 writes in the audit log"
    [ "$(count_lines site.csv ",verified")" -eq 18 ] || fail "expected 18 checks in the audit log"
    contains site.csv ",02:00:00:00:00:12,192.0.2.81,255.255.255.0,192.0.2.1,192.0.2.147,255.255.255.0,192.0.2.1,verified"
}

flash_until_interrupted() {
    # --count 3.
    local device=02:00:00:00:00:02 pid status=0
    "$cli" flash $device --seconds 600 --wait-ms 1000 >out.txt 2>err.txt &
    pid=$!
    wait_for_log "LED flashing on: $device"
    kill -INT $pid
    wait $pid || status=$?
    [ $status -eq 0 ] || fail "flash ended with $status after Ctrl-C"
    # The simulator may still be reading the stop request when the CLI has ended.
    wait_for_log "LED flashing off: $device 192.0.2.65 HMI-2 (stop request)"
    contains out.txt "Stopped."
    run 0 flash $device --seconds 1 --wait-ms 1000
    wait_for_log "LED flashing off: $device" 2
}

interrupted_batch() {
    # --count 20.
    local pid status=0
    plan_for 1 20 >plan.csv
    "$cli" apply plan.csv --yes --wait-ms 1000 --interval-ms 400 >out.txt 2>err.txt &
    pid=$!
    wait_for_log "modify request for" 3
    kill -INT $pid
    wait $pid || status=$?
    [ $status -eq 130 ] || fail "the interrupted batch ended with $status, expected 130"
    contains err.txt "interrupted after"
    # The simulator may still be reading the last requests sent.
    wait_for_log "modify request for" "$(count_lines "$audit_log" ",sent")"
    sed -n 's/^modify request for \([0-9A-F:]*\) .*/\1/p' "$log" >sent.txt
    tail -n +2 "$audit_log" | cut -d, -f3 >recorded.txt
    [ "$(wc -l <sent.txt)" -lt 20 ] || fail "the batch was not interrupted"
    diff sent.txt recorded.txt >&2 || fail "the audit log differs from the writes sent"
    [ "$(count_lines "$audit_log" ",sent")" -eq "$(wc -l <sent.txt)" ] \
        || fail "every audit line is a write"
}

two_adapters() {
    # --two-adapters: tests/fleets/five-devices.txt on the plant, office-devices.txt in the office.
    run 0 scan --wait-ms 1000 --format csv
    [ "$(wc -l <out.txt)" -eq 8 ] || fail "expected a header and the 7 devices of both networks"
    contains out.txt "Lobby panel,198.51.100.65,"
    contains out.txt "Panel 1,192.0.2.65,"
    contains "$log" "arrived on eth0 at 255.255.255.255 from 192.0.2.1: scan"
    contains "$NESDRIX_SIM_LOG_OFFICE" "arrived on eth0 at 255.255.255.255 from 198.51.100.2: scan"
    # Which network a device is on: the table's Adapter column, flash and set.
    run 0 flash 02:4E:58:00:00:02 --seconds 1 --wait-ms 1000
    contains out.txt "Flashing 02:4E:58:00:00:02 at 192.0.2.65 via plant for 1 s"
}

foreign_device() {
    # --foreign-device: tests/fleets/foreign-device.txt, whose servo answers from 203.0.113.10.
    run 0 scan --wait-ms 1000 --format csv
    contains out.txt "New servo,203.0.113.10,02:4E:58:00:20:02,255.255.255.0,203.0.113.1,"
    contains out.txt "Line PLC,192.0.2.64,"
    servo="02:4E:58:00:20:02 203.0.113.10 New servo"
    run 0 flash 02:4E:58:00:20:02 --seconds 1 --wait-ms 500
    wait_for_log "LED flashing on: $servo"
    wait_for_log "LED flashing off: $servo (stop request)"
    run 0 set 02:4E:58:00:20:02 --ip 192.0.2.170 --mask 255.255.255.0 --gateway 192.0.2.1 \
        --yes --wait-ms 500
    contains out.txt "Written."
    wait_for_log "restarted: 02:4E:58:00:20:02 192.0.2.170 New servo"

    # The cable pulled between listing and writing.
    scans=$(count_lines "$log" ": scan")
    status=0
    "$cli" set 02:4E:58:00:20:01 --ip 192.0.2.171 --mask 255.255.255.0 --gateway 192.0.2.1 \
        --yes --wait-ms 2000 >out.txt 2>err.txt &
    pid=$!
    wait_for_log ": scan" $((scans + 1))
    ip link set veth0 down
    wait $pid || status=$?
    [ $status -eq 8 ] || { cat out.txt err.txt >&2; fail "set exited $status after the link went down"; }
    contains err.txt "the write could not be sent, stopping: 02:4E:58:00:20:01"
    lacks out.txt "Written."
    contains "$audit_log" ",192.0.2.171,255.255.255.0,192.0.2.1,send failed: "
}

address_check() {
    # tests/fleets/five-devices.txt, --restart-after-ms 300, and a station at
    # 192.0.2.30 that answers ARP but no scan (NESDRIX_PEER_MAC).
    local peer=${NESDRIX_PEER_MAC:?run with netns-fleet.sh --peer-address 192.0.2.30}
    local panel=02:4E:58:00:00:02 fan=02:4E:58:00:00:04 module=02:4E:58:00:00:05
    {
        echo "$fan,192.0.2.151,255.255.255.0,192.0.2.1"
        echo "$module,192.0.2.30,255.255.255.0,192.0.2.1"
    } >plan.csv
    run 5 apply plan.csv --yes --wait-ms 1000
    contains err.txt "plan refused, nothing written"
    contains err.txt "line 2: new IP 192.0.2.30 is in use by $peer, which is not in the plan"
    [ "$(grep -c '^line ' err.txt)" -eq 1 ] || fail "only the taken line is named"

    run 5 set $panel --ip 192.0.2.30 --mask 255.255.255.0 --gateway 192.0.2.1 --yes
    contains err.txt "192.0.2.30 is in use by $peer; nothing written (--allow-duplicate-ip"
    [ "$(count_lines "$log" "modify request")" -eq 0 ] || fail "a refused address was written"
    [ ! -e "$audit_log" ] || fail "a refused write opened the audit log"

    run 0 set $module --ip 203.0.113.150 --mask 255.255.255.0 --gateway 203.0.113.1 --yes
    contains out.txt "New IP 203.0.113.150: not checked: other subnet"
    contains "$audit_log" ",203.0.113.150,255.255.255.0,203.0.113.1,sent,not checked: other subnet"

    local started=$(date +%s%N)
    run 0 set $panel --ip 192.0.2.150 --mask 255.255.255.0 --gateway 192.0.2.1 --yes \
        --wait-ms 500 --verify-after-ms 1000
    echo "set with a free address, the scan and the check took $((($(date +%s%N) - started) / 1000000)) ms"
    contains out.txt "New IP 192.0.2.150: free"
    contains out.txt "$panel verified at 192.0.2.150"
    lacks out.txt "line 0"
    contains "$audit_log" ",192.0.2.150,255.255.255.0,192.0.2.1,sent,free"
    contains "$audit_log" ",192.0.2.150,255.255.255.0,192.0.2.1,verified,"

    run 0 set $fan --ip 192.0.2.30 --mask 255.255.255.0 --gateway 192.0.2.1 --yes \
        --allow-duplicate-ip
    contains out.txt "New IP 192.0.2.30: in use by $peer, to be written anyway"
    contains "$audit_log" ",192.0.2.30,255.255.255.0,192.0.2.1,sent,\"in use by $peer, written anyway\""
    wait_for_log "modify request for $fan"
    [ "$(count_lines "$log" "modify request")" -eq 3 ] || fail "expected exactly three writes"
}

# next_fleet: the simulator plays its next --next-fleet from the coming scan on.
next_fleet() {
    local changes
    changes=$(count_lines "$log" "fleet changed:")
    kill -HUP "${NESDRIX_SIM_PID:?run through tests/netns-fleet.sh}"
    wait_for_log "fleet changed:" $((changes + 1))
}

# wait_for_output FILE TEXT: waits until a background command has printed TEXT.
wait_for_output() {
    local tries=0
    until grep -qF -- "$2" "$1"; do
        tries=$((tries + 1))
        [ $tries -le 300 ] || { cat "$1" >&2; fail "$1 never showed: $2"; }
        sleep 0.1
    done
}

compare_and_watch() {
    # tests/fleets/watch-before.txt, then on SIGHUP watch-lost-reply.txt and watch-after.txt.
    local pid status=0 scans
    run 0 scan --wait-ms 500 --format csv
    cp out.txt before.csv
    run 0 scan --compare before.csv --wait-ms 500
    [ ! -s out.txt ] || fail "the same fleet showed differences"

    "$cli" watch --interval-ms 1000 --wait-ms 300 >watch.txt 2>watch-err.txt &
    pid=$!
    wait_for_output watch.txt 'appeared 02:4E:58:00:30:04 "Fan VFD" 192.0.2.67'
    # The fan misses exactly one scan: no alarm.
    next_fleet
    scans=$(count_lines "$log" ": 3 devices answer")
    wait_for_log ": 3 devices answer" $((scans + 1))
    next_fleet
    wait_for_output watch.txt 'gone 02:4E:58:00:30:03 "Drive 3" 192.0.2.66'
    kill -INT $pid
    wait $pid || status=$?
    [ $status -eq 0 ] || fail "watch ended with $status after Ctrl-C"
    contains watch.txt 'changed 02:4E:58:00:30:02 "Panel 1": ip 192.0.2.65 -> 192.0.2.75'
    contains watch.txt 'appeared 02:4E:58:00:30:05 "Conveyor" 192.0.2.69'
    lacks watch.txt "gone 02:4E:58:00:30:04"
    [ "$(grep -cE '^20[0-9]{2}-[01][0-9]-[0-3][0-9]T[0-9:]{8}\.[0-9]{3}Z (appeared|changed|gone) ' \
        watch.txt)" -eq "$(wc -l <watch.txt)" ] || { cat watch.txt >&2; fail "a line without its time"; }
    [ "$(wc -l <watch.txt)" -eq 7 ] || { cat watch.txt >&2; fail "expected 7 events"; }

    # The list is read before the scan: --save to the same file compares with the run before.
    cp before.csv rolling.csv
    run 9 scan --compare rolling.csv --save rolling.csv --wait-ms 500
    cp out.txt compared.txt
    contains rolling.csv ",Conveyor,192.0.2.69,"
    [ "$(wc -l <out.txt)" -eq 3 ] || fail "expected 3 differences"
    contains out.txt 'new 02:4E:58:00:30:05 "Conveyor" 192.0.2.69'
    contains out.txt 'missing 02:4E:58:00:30:03 "Drive 3" 192.0.2.66'
    contains out.txt 'changed 02:4E:58:00:30:02 "Panel 1": ip 192.0.2.65 -> 192.0.2.75'
    run 0 scan --wait-ms 500 --format json
    cp out.txt after.json
    run 9 diff before.csv after.json
    diff compared.txt out.txt >&2 || fail "diff and scan --compare differ"
    run 0 scan --compare rolling.csv --save rolling.csv --wait-ms 500
    run 9 scan --compare before.csv --wait-ms 500 --format json
    [ "$(count_lines out.txt '"change": ')" -eq 3 ] || fail "json: expected 3 changes"
    run 1 scan --compare before.csv --format csv
    contains err.txt "--format takes text or json here"
    run 1 scan --compare missing.csv
    contains err.txt "cannot compare: missing.csv: "

    # The cable pulled while watching ends it with the status of a failed send.
    status=0
    "$cli" watch --interval-ms 500 --wait-ms 200 --format json >watch.txt 2>watch-err.txt &
    pid=$!
    wait_for_output watch.txt '"event":"appeared"'
    ip link set veth0 down
    wait $pid || status=$?
    [ $status -eq 8 ] || { cat watch-err.txt >&2; fail "watch ended with $status, expected 8"; }
    contains watch-err.txt "no network adapter is up to scan on"
}

lossy_network() {
    # --count 20 --loss 20 --echo: each device answers every try it hears, twice.
    run 1 scan --tries 0
    contains err.txt "--tries needs a whole number from 1 to 10"
    run 1 scan --tries 11
    local scans
    scans=$(count_lines "$log" ": scan")
    run 0 scan --tries 10 --wait-ms 500 --format csv
    [ "$(count_lines "$log" ": scan")" -eq $((scans + 10)) ] || fail "10 scan requests expected"
    [ "$(wc -l <out.txt)" -eq 21 ] || fail "every device once expected"
    [ "$(count_lines out.txt ",MAC")" -eq 0 ] || fail "an echoed reply taken for a duplicate"
    # Each device answered: the one that answered last is found to flash.
    run 0 flash 02:00:00:00:00:14 --wait-ms 300 --seconds 1
    contains out.txt "Flashing 02:00:00:00:00:14 at 192.0.2.83"
}

no_adapter() {
    # --no-adapter: nothing can leave, and nothing does.
    run 8 scan --wait-ms 300
    contains err.txt "no network adapter is up to scan on"
    lacks "$log" "arrived on"
}

case $scenario in
scan-formats) scan_formats ;;
set) set_one_device ;;
bad-plan) bad_plan ;;
good-plan) good_plan ;;
flash-interrupt) flash_until_interrupted ;;
interrupted-batch) interrupted_batch ;;
two-adapters) two_adapters ;;
foreign-device) foreign_device ;;
no-adapter) no_adapter ;;
lossy) lossy_network ;;
address-check) address_check ;;
compare-and-watch) compare_and_watch ;;
*) fail "unknown scenario" ;;
esac
echo "PASS ($scenario)"
