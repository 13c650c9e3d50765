#!/bin/bash

# SPDX-FileCopyrightText: 2026 The Nesdrix developers
#
# SPDX-License-Identifier: Apache-2.0

# Runs a command against a simulated device fleet, on a network of its own:
#
#   tests/netns-fleet.sh [TOPOLOGY] [--peer-address IP] --simulator PATH [SIMULATOR ARGS...]
#                        [--office OFFICE SIMULATOR ARGS...] -- COMMAND [ARGS...]
#
# Fresh network namespaces joined by veth pairs. By default, one cable: the
# program's side (192.0.2.1/24, the limited broadcast routed onto veth0) and the
# devices' side (192.0.2.10/24, and every address of 192.0.2.64/26 local, so each
# simulated device answers from its own IP). TOPOLOGY changes that:
#   --foreign-device  the devices' side also holds 203.0.113.0/24 (a subnet the
#                     program's side has no address in, nor route to)
#   --no-adapter      the program's side has loopback only, up, and no route
#   --two-adapters    the program's side has an adapter "office" (198.51.100.2/24,
#                     the default route via 198.51.100.1) and an adapter "plant"
#                     (192.0.2.1/24) and no route for the limited broadcast; the
#                     plant side is as above, the office side 198.51.100.1/24 with
#                     198.51.100.64/26 local and a simulator of its own (--office)
# --peer-address IP gives the devices' side one more address in its /24: a
# station that answers ARP for it but never a scan (a PC, a camera, another
# maker's device); its MAC is in NESDRIX_PEER_MAC.
# The simulator runs on the devices' (plant) side with its log in a file named by
# NESDRIX_SIM_LOG (its process in NESDRIX_SIM_PID, for a SIGHUP that plays its
# --next-fleet), the office simulator's in NESDRIX_SIM_LOG_OFFICE. COMMAND runs
# on the program's side and its exit status is the script's. Nothing is
# connected to the machine's own network, and everything is removed on the way
# out, also on failure. Needs root; exits 77 (the tests' "skipped") without it.
set -eu

usage() {
    echo "usage: $0 [--two-adapters|--foreign-device|--no-adapter] [--peer-address IP]" \
        "--simulator PATH" \
        "[SIMULATOR ARGS...] [--office ARGS...] -- COMMAND [ARGS...]" >&2
    exit 2
}

topology=single
case "${1:-}" in
--two-adapters | --foreign-device | --no-adapter)
    topology=${1#--}
    shift
    ;;
esac
peer_address=
if [ "${1:-}" = "--peer-address" ] && [ $# -ge 2 ]; then
    peer_address=$2
    shift 2
fi
[ "${1:-}" = "--simulator" ] && [ $# -ge 2 ] || usage
simulator=$2
shift 2
simulator_args=()
office_args=()
while [ $# -gt 0 ] && [ "$1" != "--" ] && [ "$1" != "--office" ]; do
    simulator_args+=("$1")
    shift
done
if [ "${1:-}" = "--office" ]; then
    [ $topology = two-adapters ] || usage
    shift
    while [ $# -gt 0 ] && [ "$1" != "--" ]; do
        office_args+=("$1")
        shift
    done
fi
[ "${1:-}" = "--" ] && [ $# -ge 2 ] || usage
shift
if [ $topology = two-adapters ] && [ ${#office_args[@]} -eq 0 ]; then
    usage
fi

if [ "$(id -u)" -ne 0 ]; then
    echo "netns-fleet.sh: needs root to create network namespaces (ip netns); skipped" >&2
    exit 77
fi

prog=nx-prog-$$
dev=nx-dev-$$
office=nx-office-$$
log=$(mktemp "${TMPDIR:-/tmp}/nesdrix-sim.XXXXXX")
office_log=$(mktemp "${TMPDIR:-/tmp}/nesdrix-sim-office.XXXXXX")
sim_pids=()

cleanup() {
    for pid in "${sim_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    ip netns del "$prog" 2>/dev/null || true
    ip netns del "$dev" 2>/dev/null || true
    ip netns del "$office" 2>/dev/null || true
    rm -f "$log" "$office_log"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# device_side NS ADDRESS/PREFIX LOCAL-BLOCK: the far end eth0 of a cable, with
# the simulated devices' addresses local.
device_side() {
    ip -n "$1" link set lo up
    ip -n "$1" addr add "$2" dev eth0
    ip -n "$1" link set eth0 up
    ip -n "$1" route add local "$3" dev lo
}

# wait_running IFNAME: the endpoint scans only on adapters with a carrier.
wait_running() {
    local tries=0
    until ip -n "$prog" -br link show "$1" | grep -q ' UP '; do
        tries=$((tries + 1))
        [ $tries -le 50 ] || { echo "netns-fleet.sh: $1 never came up" >&2; exit 1; }
        sleep 0.1
    done
}

ip netns add "$prog"
ip netns add "$dev"
ip -n "$prog" link set lo up
# Both ends are created inside the namespaces: no veth ever appears on the host.
if [ $topology = two-adapters ]; then
    ip netns add "$office"
    ip -n "$prog" link add office type veth peer name eth0 netns "$office"
    ip -n "$prog" link add plant type veth peer name eth0 netns "$dev"
    device_side "$office" 198.51.100.1/24 198.51.100.64/26
    device_side "$dev" 192.0.2.10/24 192.0.2.64/26
    ip -n "$prog" addr add 198.51.100.2/24 dev office
    ip -n "$prog" addr add 192.0.2.1/24 dev plant
    ip -n "$prog" link set office up
    ip -n "$prog" link set plant up
    ip -n "$prog" route add default via 198.51.100.1
    wait_running office
    wait_running plant
else
    ip -n "$prog" link add veth0 type veth peer name eth0 netns "$dev"
    device_side "$dev" 192.0.2.10/24 192.0.2.64/26
    if [ $topology != no-adapter ]; then
        ip -n "$prog" addr add 192.0.2.1/24 dev veth0
        ip -n "$prog" link set veth0 up
        ip -n "$prog" route add 255.255.255.255/32 dev veth0
        wait_running veth0
    fi
    if [ $topology = foreign-device ]; then
        ip -n "$dev" route add local 203.0.113.0/24 dev lo
        # Strict reverse-path filtering would drop the foreign devices' replies.
        ip netns exec "$prog" sysctl -qw net.ipv4.conf.all.rp_filter=0 \
            net.ipv4.conf.veth0.rp_filter=0
    fi
fi

peer_mac=
if [ -n "$peer_address" ]; then
    ip -n "$dev" addr add "$peer_address/24" dev eth0
    peer_mac=$(ip netns exec "$dev" cat /sys/class/net/eth0/address | tr a-f A-F)
fi

# start_simulator NS LOG ARGS...
start_simulator() {
    local ns=$1 file=$2 tries=0
    shift 2
    ip netns exec "$ns" "$simulator" "$@" >"$file" 2>&1 &
    sim_pids+=($!)
    until grep -q '^ready' "$file"; do
        tries=$((tries + 1))
        if ! kill -0 "${sim_pids[-1]}" 2>/dev/null || [ $tries -gt 100 ]; then
            echo "netns-fleet.sh: the simulator did not get ready:" >&2
            cat "$file" >&2
            exit 1
        fi
        sleep 0.1
    done
}

start_simulator "$dev" "$log" "${simulator_args[@]}"
if [ $topology = two-adapters ]; then
    start_simulator "$office" "$office_log" "${office_args[@]}"
fi

status=0
NESDRIX_SIM_LOG=$log NESDRIX_SIM_LOG_OFFICE=$office_log NESDRIX_SIM_PID=${sim_pids[0]} \
    NESDRIX_PEER_MAC=$peer_mac ip netns exec "$prog" "$@" || status=$?
if [ $status -ne 0 ]; then
    echo "netns-fleet.sh: the command failed ($status); simulator log:" >&2
    cat "$log" >&2
    if [ $topology = two-adapters ]; then
        echo "netns-fleet.sh: office simulator log:" >&2
        cat "$office_log" >&2
    fi
fi
exit $status
