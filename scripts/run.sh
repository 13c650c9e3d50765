#!/bin/sh

# SPDX-FileCopyrightText: 2026 The Nesdrix developers
#
# SPDX-License-Identifier: Apache-2.0

# Builds Nesdrix and starts it. Only Nesdrix's launcher may open UDP port 102
# (where devices reply); the launcher built here starts the programs of this
# build, and gets the privilege with sudo when it lacks it (a rebuild drops it).
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
# A folder of its own: the package (scripts/package.sh, build/release) keeps its
# launcher aimed at the installed programs.
bin=$(pwd)/build/run/bin
cmake -S . -B build/run -DCMAKE_BUILD_TYPE=Release -DNESDRIX_BUILD_TESTS=OFF \
    -DNESDRIX_LAUNCHER_TARGET_DIR="$bin"
cmake --build build/run --parallel "$(nproc)"
launcher=$bin/nesdrix-launcher
getcap=$(command -v getcap || echo /usr/sbin/getcap)
if [ "$(id -u)" -ne 0 ] && ! "$getcap" "$launcher" | grep -q cap_net_bind_service; then
    echo "run.sh: granting $launcher the right to open UDP port 102 (sudo setcap cap_net_bind_service=ep)"
    sudo setcap cap_net_bind_service=ep "$launcher"
fi
exec "$launcher" "$@"
