#!/bin/sh
# Refreshes the Chinese catalogue source from the sources. Run it after adding or
# changing a user-visible text, then translate the new entries (Qt Linguist, or by
# hand) and check them with ctest -R translations.
#
# Usage: tools/update-translations.sh [catalogue.ts]   (default resources/zh_cn.ts)
# LUPDATE names the lupdate program to use (default: lupdate on the PATH).
#
# Entries whose text is not in the sources (any more, or not yet) are kept, marked
# vanished, with their translations: lupdate revives them when the text appears,
# and the coverage test reports them until then.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
catalogue=$(realpath -m "${1:-$root/resources/zh_cn.ts}")
cd "$root"
"${LUPDATE:-lupdate}" -silent -target-language zh_CN -locations none \
    app dialogs protocol -ts "$catalogue"
