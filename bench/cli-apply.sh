#!/bin/bash

# SPDX-FileCopyrightText: 2026 The Nesdrix developers
#
# SPDX-License-Identifier: Apache-2.0

# Times "nesdrix-cli apply" for a plan covering a whole simulated fleet, inside
# private network namespaces (tests/netns-fleet.sh; needs root):
#
#   bench/cli-apply.sh [BUILD_DIR] [DEVICES]     (defaults: build, 100)
#
# Prints the wall time of the dry run (scan and plan checks), of the batch with
# --yes, of its writes alone (from the audit log's first to last write), and of
# a batch with --verify-after-ms.
set -eu

wait_ms=1000
verify_ms=500

if [ "${1:-}" = "--inside" ]; then
    cli=$2
    devices=$3
    work=$(mktemp -d "${TMPDIR:-/tmp}/nesdrix-bench.XXXXXX")
    trap 'rm -rf "$work"' EXIT
    cd "$work"
    # The simulator's generated devices, each to a new address of 192.0.2.130-254.
    for n in $(seq 1 "$devices"); do
        printf '02:00:00:%02X:%02X:%02X,192.0.2.%d,255.255.255.0,192.0.2.1\n' \
            $((n >> 16 & 255)) $((n >> 8 & 255)) $((n & 255)) $((129 + n))
    done >plan.csv

    milliseconds() { echo $(($(date +%s%N) / 1000000)); }
    timed() {
        local start end
        start=$(milliseconds)
        "$cli" "$@" >out.txt 2>err.txt || { cat err.txt >&2; exit 1; }
        end=$(milliseconds)
        echo $((end - start))
    }
    # ISO time of an audit line to milliseconds since the epoch.
    audit_ms() { echo $(($(date -d "$(cut -d, -f1 <<<"$1")" +%s%N) / 1000000)); }

    dry=$(timed apply plan.csv --wait-ms $wait_ms)
    batch=$(timed apply plan.csv --yes --wait-ms $wait_ms --audit audit.csv)
    first=$(audit_ms "$(sed -n 2p audit.csv)")
    last=$(audit_ms "$(tail -n 1 audit.csv)")
    written=$(grep -c ',sent$' audit.csv)
    # The devices now hold the plan's addresses; the same plan writes them again.
    verified=$(timed apply plan.csv --yes --wait-ms $wait_ms --verify-after-ms $verify_ms \
        --audit verify.csv)
    ok=$(grep -c ',verified$' verify.csv || true)

    echo "nesdrix-cli apply, $devices simulated devices, scan window $wait_ms ms:"
    echo "  dry run (scan and whole-plan checks):        $dry ms"
    echo "  --yes (scan, checks, $written writes, audit log):  $batch ms"
    echo "  the $written writes alone (first to last audit line): $((last - first)) ms"
    echo "  --yes --verify-after-ms $verify_ms ($ok of $devices verified): $verified ms"
    exit 0
fi

cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
devices=${2:-100}
[ "$devices" -ge 1 ] && [ "$devices" -le 125 ] || { echo "1 to 125 devices" >&2; exit 2; }
exec tests/netns-fleet.sh --simulator "$build/bin/nesdrix-devsim" --count "$devices" -- \
    "$PWD/bench/cli-apply.sh" --inside "$build/bin/nesdrix-cli" "$devices"
