#!/bin/sh

# SPDX-FileCopyrightText: 2026 The Nesdrix developers
#
# SPDX-License-Identifier: Apache-2.0

# Checks that every file has its license (reuse lint), builds Nesdrix three
# times, plainly and with AddressSanitizer and UndefinedBehaviorSanitizer on Qt 5,
# and plainly on Qt 6, and runs every test in each build, two at a time. Each test
# runs in a private network namespace of its own: nothing reaches the machine's
# network. Then fuzzes the receive path for a minute (NESDRIX_FUZZ_SECONDS) in a fourth,
# small clang build of the codec.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
# Every file has its license: fast, so first.
reuse lint

run_build() {
    dir=$1
    shift
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Debug "$@"
    cmake --build "$dir" --parallel "$(nproc)"
    (cd "$dir" && ctest -j2 --output-on-failure --timeout 600)
}

run_build build/test
run_build build/sanitize -DNESDRIX_SANITIZE=ON
run_build build/qt6 -DNESDRIX_QT_MAJOR=6

fuzz_seconds=${NESDRIX_FUZZ_SECONDS:-60}
CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNESDRIX_FUZZ=ON
cmake --build build/fuzz --parallel "$(nproc)"
rm -rf build/fuzz/corpus
build/fuzz/bin/fuzz_seeds build/fuzz/corpus
(cd build/fuzz && bin/fuzz_receive -max_total_time="$fuzz_seconds" -max_len=65507 corpus)
echo "fuzz: $fuzz_seconds seconds of the receive path, nothing found"
