#!/bin/sh
# Builds Nesdrix twice, plainly and with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs every test in both builds. Each test runs
# in a private network namespace of its own: nothing reaches the machine's network.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh

run_build() {
    dir=$1
    shift
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Debug "$@"
    cmake --build "$dir" --parallel "$(nproc)"
    (cd "$dir" && ctest --output-on-failure --timeout 600)
}

run_build build/test
run_build build/sanitize -DNESDRIX_SANITIZE=ON
