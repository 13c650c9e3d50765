#!/bin/sh

# SPDX-FileCopyrightText: 2026 The Nesdrix developers
#
# SPDX-License-Identifier: Apache-2.0

# Checks the package as Debian would: lintian finds no error or warning in the
# package that cpack builds, each manual page renders without a groff warning,
# and reuse finds a license for every file of the source tree.
# Usage: lintian-check.sh CPACK BUILD_DIR SOURCE_DIR
set -eu
cpack=$1
build=$2
source=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

"$cpack" -G DEB -B "$scratch/out" --config "$build/CPackConfig.cmake" >"$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log" >&2; fail "cpack could not build the package"; }
deb=$(ls "$scratch"/out/*.deb)

lintian --fail-on error,warning --display-info "$deb" || fail "lintian: errors or warnings above"

dpkg-deb -x "$deb" "$scratch/root"
pages=$(ls "$scratch"/root/usr/share/man/man1/*.1.gz)
for page in $pages; do
    warnings=$(zcat "$page" | groff -ww -man -Tutf8 -z 2>&1)
    [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
done
echo "manual pages render without warnings: $(echo $pages | xargs -n1 basename | tr '\n' ' ')"

reuse --root "$source" lint
