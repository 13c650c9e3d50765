#!/bin/sh

# SPDX-FileCopyrightText: 2026 The Nesdrix developers
#
# SPDX-License-Identifier: Apache-2.0

# Builds Nesdrix and starts it.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DNESDRIX_BUILD_TESTS=OFF
cmake --build build/release --parallel "$(nproc)"
exec build/release/bin/nesdrix "$@"
