#!/bin/sh

# SPDX-FileCopyrightText: 2026 The Nesdrix developers
#
# SPDX-License-Identifier: Apache-2.0

# Starts Nesdrix against a simulated fleet of a dozen devices, on a private
# network of two namespaces that is connected to nothing else:
#
#   ./scripts/try-it.sh                      the example fleet
#   ./scripts/try-it.sh --count 200          200 generated devices
#   ./scripts/try-it.sh my-fleet.txt --bad   any simulator arguments instead
#
# Builds what is missing first, as the calling user. The namespaces need root:
# without it, the run itself goes through sudo. Nothing is ever sent onto the
# machine's own network.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DNESDRIX_BUILD_TESTS=OFF >/dev/null
cmake --build build/release --parallel "$(nproc)" --target nesdrix nesdrix-devsim

[ $# -gt 0 ] || set -- tools/devsim/example-fleet.txt
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    # The window goes to the caller's display: root needs its name and its key.
    export XAUTHORITY="${XAUTHORITY:-$HOME/.Xauthority}"
    sudo="sudo --preserve-env=DISPLAY,XAUTHORITY"
fi
exec $sudo tests/netns-fleet.sh --simulator build/release/bin/nesdrix-devsim "$@" \
    -- build/release/bin/nesdrix
