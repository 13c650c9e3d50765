#!/bin/sh

# SPDX-FileCopyrightText: 2026 The Nesdrix developers
#
# SPDX-License-Identifier: Apache-2.0

# Runs a command in a private network namespace that holds only loopback, with
# the limited broadcast routed into it: whatever a test sends stays inside.
set -eu
if [ "${1:-}" = "--inside" ]; then
    shift
    ip link set lo up
    ip route add 255.255.255.255/32 dev lo
    exec "$@"
fi
if [ "$(id -u)" -eq 0 ]; then
    exec unshare --net -- "$0" --inside "$@"
fi
exec unshare --map-root-user --net -- "$0" --inside "$@"
