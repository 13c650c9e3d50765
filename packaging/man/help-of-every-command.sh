#!/bin/sh

# SPDX-FileCopyrightText: 2026 The Nesdrix developers
#
# SPDX-License-Identifier: Apache-2.0

# Stands in for nesdrix-cli (named so in the build folder) when help2man reads
# its help: prints the general help, then each command's own under a heading of
# its usage, without the help options that every command repeats, so that the
# manual page lists every option. The program is $NESDRIX_CLI.
set -eu
[ "${1:-}" = --help ] || exit 1
"$NESDRIX_CLI" --help
for command in $("$NESDRIX_CLI" --help | sed -n 's/^  \([a-z][a-z]*\)  .*/\1/p'); do
    echo
    "$NESDRIX_CLI" "$command" --help |
        sed -e 's/^Usage: \(.*\)/\1:\n/' -e '/^Options:$/d' -e '/^  -h, --help /d' -e '/^  --help-all /d'
done
