#!/bin/sh

# SPDX-FileCopyrightText: 2026 The Nesdrix developers
#
# SPDX-License-Identifier: Apache-2.0

# Runs a command in a private network namespace that holds loopback and one
# adapter of its own, a veth pair whose two ends both stay inside: a scan sent
# on the adapter comes back to the namespace's own sockets (its copy over the
# pair is dropped, as it carries a local source address), and the limited
# broadcast is routed into loopback. Whatever a test sends stays inside.
set -eu
if [ "${1:-}" = "--inside" ]; then
    shift
    ip link set lo up
    ip route add 255.255.255.255/32 dev lo
    ip link add nxrun0 type veth peer name nxrun1
    ip addr add 192.0.2.1/24 dev nxrun0
    ip link set nxrun1 up
    ip link set nxrun0 up
    # The endpoint scans only on adapters that are running: wait for the carrier.
    tries=0
    until ip -br link show nxrun0 | grep -q ' UP '; do
        tries=$((tries + 1))
        [ $tries -le 50 ] || { echo "netns-run.sh: nxrun0 never came up" >&2; exit 1; }
        sleep 0.1
    done
    exec "$@"
fi
if [ "$(id -u)" -eq 0 ]; then
    exec unshare --net -- "$0" --inside "$@"
fi
exec unshare --map-root-user --net -- "$0" --inside "$@"
