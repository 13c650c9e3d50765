#!/bin/bash

# SPDX-FileCopyrightText: 2026 The Nesdrix developers
#
# SPDX-License-Identifier: Apache-2.0

# Runs a command against a simulated device fleet, on a network of its own:
#
#   tests/netns-fleet.sh --simulator PATH [SIMULATOR ARGS...] -- COMMAND [ARGS...]
#
# Two fresh network namespaces joined by one veth pair: the program's side
# (192.0.2.1/24, the limited broadcast routed onto the veth) and the devices'
# side (192.0.2.10/24, and every address of 192.0.2.64/26 local, so each
# simulated device answers on its own IP). The simulator runs on the devices'
# side with its log in a file named by NESDRIX_SIM_LOG; COMMAND runs on the
# program's side and its exit status is the script's. Nothing is connected to
# the machine's own network, and everything is removed on the way out, also on
# failure. Needs root; exits 77 (the tests' "skipped") without it.
set -eu

usage() {
    echo "usage: $0 --simulator PATH [SIMULATOR ARGS...] -- COMMAND [ARGS...]" >&2
    exit 2
}

[ "${1:-}" = "--simulator" ] && [ $# -ge 2 ] || usage
simulator=$2
shift 2
simulator_args=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
    simulator_args+=("$1")
    shift
done
[ "${1:-}" = "--" ] && [ $# -ge 2 ] || usage
shift

if [ "$(id -u)" -ne 0 ]; then
    echo "netns-fleet.sh: needs root to create network namespaces (ip netns); skipped" >&2
    exit 77
fi

prog=nx-prog-$$
dev=nx-dev-$$
log=$(mktemp "${TMPDIR:-/tmp}/nesdrix-sim.XXXXXX")
sim_pid=""

cleanup() {
    if [ -n "$sim_pid" ]; then
        kill "$sim_pid" 2>/dev/null || true
        wait "$sim_pid" 2>/dev/null || true
    fi
    ip netns del "$prog" 2>/dev/null || true
    ip netns del "$dev" 2>/dev/null || true
    rm -f "$log"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

ip netns add "$prog"
ip netns add "$dev"
# Both ends are created inside the namespaces: the veth never appears on the host.
ip -n "$prog" link add veth0 type veth peer name veth1 netns "$dev"
ip -n "$prog" link set lo up
ip -n "$dev" link set lo up
ip -n "$prog" addr add 192.0.2.1/24 dev veth0
ip -n "$prog" link set veth0 up
ip -n "$prog" route add 255.255.255.255/32 dev veth0
ip -n "$dev" addr add 192.0.2.10/24 dev veth1
ip -n "$dev" link set veth1 up
ip -n "$dev" route add local 192.0.2.64/26 dev lo

ip netns exec "$dev" "$simulator" "${simulator_args[@]}" >"$log" 2>&1 &
sim_pid=$!

tries=0
until grep -q '^ready' "$log"; do
    tries=$((tries + 1))
    if ! kill -0 "$sim_pid" 2>/dev/null || [ $tries -gt 100 ]; then
        echo "netns-fleet.sh: the simulator did not get ready:" >&2
        cat "$log" >&2
        exit 1
    fi
    sleep 0.1
done

status=0
NESDRIX_SIM_LOG=$log ip netns exec "$prog" "$@" || status=$?
if [ $status -ne 0 ]; then
    echo "netns-fleet.sh: the command failed ($status); simulator log:" >&2
    cat "$log" >&2
fi
exit $status
