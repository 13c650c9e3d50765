#!/bin/sh

# SPDX-FileCopyrightText: 2026 The Nesdrix developers
#
# SPDX-License-Identifier: Apache-2.0

# How much of a lossy plant one scan lists: 200 simulated devices, 10 % of the
# datagrams lost on the way to each device and 10 % on the way back, each on its
# own. `nesdrix-cli scan` runs with one try and with the default tries, on a
# fresh private network (tests/netns-fleet.sh) for every run, the simulator drawing
# its losses from seed 1, 2, ... Prints the share of the fleet listed by each run
# and on average, beside what the arithmetic expects: a device is heard by one try
# with 0.9 x 0.9 = 81 %, and missed by three with 0.19^3, so 99.3 % are listed.
# Needs root:
#
#   sudo bench/lossy-scan.sh [BUILD_DIR]      (default build/release)
#   NESDRIX_BENCH_RUNS=N (default 10), NESDRIX_BENCH_LOSS=PERCENT (default 10)
set -eu
cd "$(dirname "$0")/.."
build=${1:-build/release}
runs=${NESDRIX_BENCH_RUNS:-10}
loss=${NESDRIX_BENCH_LOSS:-10}
devices=200

echo "$devices devices, $loss % lost each way, $runs runs per line; listed: the devices of each run"
for tries in 1 3; do
    total=0
    shares=""
    seed=1
    while [ "$seed" -le "$runs" ]; do
        listed=$(tests/netns-fleet.sh --simulator "$build/bin/nesdrix-devsim" --count $devices \
            --loss "$loss" --seed "$seed" -- \
            "$build/bin/nesdrix-cli" scan --tries $tries --wait-ms 1000 --format csv |
            tail -n +2 | cut -d, -f4 | sort -u | wc -l)
        total=$((total + listed))
        shares="$shares $listed"
        seed=$((seed + 1))
    done
    awk -v tries=$tries -v total=$total -v runs="$runs" -v n=$devices -v loss="$loss" \
        -v shares="$shares" 'BEGIN {
            heard = (1 - loss / 100) ^ 2
            expected = 1 - (1 - heard) ^ tries
            printf "--tries %d: %.1f %% listed (expected %.1f %%); listed:%s\n",
                tries, 100 * total / (runs * n), 100 * expected, shares
        }'
done
