#!/bin/sh

# SPDX-FileCopyrightText: 2026 The Nesdrix developers
#
# SPDX-License-Identifier: Apache-2.0

# Fails when a catalogue in resources/ does not cover the sources: refreshes a
# scratch copy of each from the sources exactly as tools/update-translations.sh
# does and lists every entry left unfinished (a text without its translation) or
# vanished (a translated text the sources no longer hold, or do not hold yet).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp "$root"/resources/*.ts "$scratch/"
"$root/tools/update-translations.sh" "$scratch"/*.ts

failed=0
for catalogue in "$scratch"/*.ts; do
    awk -v file="resources/$(basename "$catalogue")" '
        /<name>/ { sub(/.*<name>/, ""); sub(/<\/name>.*/, ""); context = $0 }
        /<source>/ { source = $0; sub(/.*<source>/, "", source) }
        /<translation/ {
            state = "finished"
            if (match($0, /type="[a-z]+"/))
                state = substr($0, RSTART + 6, RLENGTH - 7)
            else if ($0 ~ /<translation><\/translation>/)
                state = "empty"
            if (state != "finished") {
                sub(/<\/source>.*/, "", source)
                printf "%s: %s: \"%s\" is %s\n", file, context, source, state
                bad++
            }
            total++
        }
        END {
            if (total == 0) { printf "%s: no entries at all\n", file; exit 1 }
            if (bad > 0) {
                printf "%s: %d of %d entries need work: translate the unfinished ones; ", file, bad, total
                print "a vanished one names a text the sources lack"
                exit 1
            }
            printf "%s: all %d entries translated\n", file, total
        }' "$catalogue" || failed=1
done
exit "$failed"
