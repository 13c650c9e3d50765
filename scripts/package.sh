#!/bin/sh

# SPDX-FileCopyrightText: 2026 The Nesdrix developers
#
# SPDX-License-Identifier: Apache-2.0

# Builds Nesdrix for release and makes its Debian package,
# build/release/nesdrix_<version>_<architecture>.deb.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DNESDRIX_BUILD_TESTS=OFF
cmake --build build/release --parallel "$(nproc)"
cd build/release
cpack -G DEB
