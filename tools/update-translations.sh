#!/bin/sh

# SPDX-FileCopyrightText: 2026 The Nesdrix developers
#
# SPDX-License-Identifier: Apache-2.0

# Refreshes the catalogue sources from the sources. Run it after adding or changing
# a user-visible text, then translate the new entries (Qt Linguist, or by hand) and
# check them with ctest -R translations.
#
# Usage: tools/update-translations.sh [catalogue.ts ...]   (default resources/*.ts)
# LUPDATE names the lupdate program to use (default: lupdate on the PATH).
#
# Entries whose text is not in the sources (any more, or not yet) are kept, marked
# vanished, with their translations: lupdate revives them when the text appears,
# and the coverage test reports them until then.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
if [ "$#" -eq 0 ]; then
    set -- "$root"/resources/*.ts
fi
for catalogue in "$@"; do
    catalogue=$(realpath -m "$catalogue")
    (cd "$root" && "${LUPDATE:-lupdate}" -silent -locations none app dialogs devicelist protocol \
        -ts "$catalogue")
done
