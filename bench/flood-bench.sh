#!/bin/sh

# SPDX-FileCopyrightText: 2026 The Nesdrix developers
#
# SPDX-License-Identifier: Apache-2.0

# A flood of distinct valid replies, 300,000 (or NESDRIX_FLOOD_COUNT) sent back to
# back by the device simulator, as anyone on a plant network could send them.
# Prints the window's figures (listing-bench.sh's line: peak memory, longest loop
# gap, rows of the first devices listed) and the command-line tool's peak memory
# and rows for the same flood. Each run on its own private network made by
# tests/netns-fleet.sh. Needs root and a Release build:
#
#   sudo bench/flood-bench.sh [BUILD_DIR]      (default build/release)
set -eu
cd "$(dirname "$0")/.."
build=${1:-build/release}
count=${NESDRIX_FLOOD_COUNT:-300000}

echo "The window:"
NESDRIX_BENCH_COUNTS=$count bench/listing-bench.sh "$build"

echo "The command-line tool (scan --format csv, 8 s wait):"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
rows=$(tests/netns-fleet.sh --simulator "$build/bin/nesdrix-devsim" --count "$count" -- \
    /usr/bin/time -o "$log" -f "%M" "$build/bin/nesdrix-cli" scan --wait-ms 8000 --format csv |
    tail -n +2 | wc -l)
echo "rows: $rows, peak MB: $(($(tail -n 1 "$log") / 1024))"
