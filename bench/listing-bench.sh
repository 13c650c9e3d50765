#!/bin/sh

# SPDX-FileCopyrightText: 2026 The Nesdrix developers
#
# SPDX-License-Identifier: Apache-2.0

# Lists a simulated fleet's burst of N scan replies, for N = 100, 1000, 5000 and
# 20000 (or NESDRIX_BENCH_COUNTS), each on a private network of two namespaces
# made by tests/netns-fleet.sh: the device simulator on one side, the endpoint and
# the main window (offscreen) on the other. Needs root and a Release build:
#
#   cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release && cmake --build build/release
#   sudo bench/listing-bench.sh [BUILD_DIR]      (default build/release)
set -eu
cd "$(dirname "$0")/.."
build=${1:-build/release}

echo "rows, lost: replies listed and missing; left out: replies past the list's limit;"
echo "first: rows of the first devices, as many as the list holds; listed ms: first reply to last row;"
echo "plain ms: the same burst drained by a plain recv loop; ratio: listed/plain;"
echo "us/row: listed ms per row; cpu us/row: the GUI thread's processor time per row;"
echo "peak MB: resident; paint gap: longest time without a repaint of the table while"
echo "listing; loop gap: longest time without a turn of the event loop until the last reply;"
echo "rcvbuf KiB: receive buffer granted; plain got: replies the plain loop saw;"
echo "drops: datagrams the kernel dropped for want of buffer while the window listed"
printf "%6s %6s %5s %8s %6s %9s %8s %6s %7s %7s %6s %9s %8s %7s %6s %6s\n" N rows lost \
    "left out" first "listed ms" \
    "plain ms" ratio us/row "cpu us" "peak MB" "paint gap" "loop gap" "rcvbuf" "plain" drops
for n in ${NESDRIX_BENCH_COUNTS:-100 1000 5000 20000}; do
    QT_QPA_PLATFORM=offscreen tests/netns-fleet.sh --simulator "$build/bin/nesdrix-devsim" \
        --count "$n" -- "$build/bin/bench_listing" "$n"
done
