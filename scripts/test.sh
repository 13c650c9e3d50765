#!/bin/sh

# SPDX-FileCopyrightText: 2026 The Nesdrix developers
#
# SPDX-License-Identifier: Apache-2.0

# Checks that every file has its license (reuse lint), builds Nesdrix three
# times, plainly and with AddressSanitizer and UndefinedBehaviorSanitizer on Qt 5,
# and plainly on Qt 6, and runs every test in each build, two at a time. Each test
# runs in a private network namespace of its own: nothing reaches the machine's
# network. Then fuzzes the receive path for a minute (NESDRIX_FUZZ_SECONDS) in a fourth,
# small clang build of the codec. Last, cross-builds Nesdrix for Windows (and Qt
# for it, once, into a cache outside the tree) and runs the Windows tests under
# Wine, in namespaces too.
#
# Every stage runs, also after one has failed, so that one failure cannot hide
# another; the run ends with one line per stage (result and time) and exits
# non-zero when any stage failed.
set -u
cd "$(dirname "$0")/.."
./scripts/install-deps.sh || exit 1

summary=
failed=0

# stage NAME COMMAND...: runs the command and records its result and time.
stage() {
    name=$1
    shift
    echo "=== $name"
    start=$(date +%s)
    if ("$@"); then
        result=passed
    else
        result=FAILED
        failed=$((failed + 1))
    fi
    summary="$summary$(printf '%-10s %-7s %5ss' "$name" "$result" "$(($(date +%s) - start))")
"
}

run_build() {
    dir=$1
    shift
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Debug "$@" \
        && cmake --build "$dir" --parallel "$(nproc)" \
        && (cd "$dir" && ctest -j2 --output-on-failure --timeout 600)
}

fuzz() {
    fuzz_seconds=${NESDRIX_FUZZ_SECONDS:-60}
    CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNESDRIX_FUZZ=ON \
        && cmake --build build/fuzz --parallel "$(nproc)" \
        && rm -rf build/fuzz/corpus \
        && build/fuzz/bin/fuzz_seeds build/fuzz/corpus \
        && (cd build/fuzz && bin/fuzz_receive -max_total_time="$fuzz_seconds" -max_len=65507 corpus) \
        && echo "fuzz: $fuzz_seconds seconds of the receive path, nothing found"
}

windows() {
    ./scripts/build-windows.sh all \
        && (cd build/windows && ctest -j2 --output-on-failure --timeout 600)
}

# Every file has its license: fast, so first.
stage licenses reuse lint
stage qt5 run_build build/test
stage sanitize run_build build/sanitize -DNESDRIX_SANITIZE=ON
stage qt6 run_build build/qt6 -DNESDRIX_QT_MAJOR=6
stage fuzz fuzz
stage windows windows

echo
echo "Stages:"
printf '%s' "$summary"
if [ "$failed" -gt 0 ]; then
    echo "$failed stage(s) failed"
    exit 1
fi
echo "every stage passed"
