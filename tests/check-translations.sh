#!/bin/sh
# Fails when the Chinese catalogue does not cover the sources: refreshes a scratch
# copy of it from the sources exactly as tools/update-translations.sh does and
# lists every entry that is left unfinished (a text without its translation) or
# vanished (a translated text the sources no longer hold, or do not hold yet).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp "$root/resources/zh_cn.ts" "$scratch/zh_cn.ts"
"$root/tools/update-translations.sh" "$scratch/zh_cn.ts"

awk '
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
            printf "%s: \"%s\" is %s\n", context, source, state
            bad++
        }
        total++
    }
    END {
        if (total == 0) { print "no entries at all"; exit 1 }
        if (bad > 0) {
            printf "%d of %d entries need work: translate the unfinished ones in ", bad, total
            print "resources/zh_cn.ts; a vanished one names a text the sources lack"
            exit 1
        }
        printf "all %d entries translated\n", total
    }' "$scratch/zh_cn.ts"
