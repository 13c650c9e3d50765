#!/bin/bash

# SPDX-FileCopyrightText: 2026 The Nesdrix developers
#
# SPDX-License-Identifier: Apache-2.0

# The Windows installer under Wine, silently, as an administrator would run it:
#
#   tests/netns-run.sh tests/wine/wine-installer.sh SETUP.exe
#
# It must put the programs with everything they load into Program Files (the
# installed CLI runs with nothing from the build on its path), add the Start menu
# entries and the uninstall entry, and its uninstaller must take all of it away.
set -eu

setup=${1:?the installer}
wine_run=${NESDRIX_WINE_RUN:?wine-run.sh}
if [ ! -f "$setup" ]; then
    echo "wine-installer.sh: no $setup; scripts/build-windows.sh package makes it; skipped" >&2
    exit 77
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/nesdrix-wine-installer.XXXXXX")
export NESDRIX_WINE_PREFIX="$work/prefix"
cleanup() {
    WINEPREFIX="$NESDRIX_WINE_PREFIX" wineserver --kill 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL (installer): $*" >&2
    exit 1
}

# wine_done: waits until every Wine process of the prefix has ended (an
# uninstaller runs on from a copy of itself) and the registry is saved.
wine_done() {
    WINEPREFIX="$NESDRIX_WINE_PREFIX" wineserver --wait
}

"$wine_run" "$setup" /S
wine_done
installed="$NESDRIX_WINE_PREFIX/drive_c/Program Files/Nesdrix"
for file in nesdrix.exe nesdrix-cli.exe nesdrix-devsim.exe zh_cn.qm Qt5Core.dll \
    platforms/qwindows.dll uninstall.exe; do
    [ -f "$installed/$file" ] || fail "$file was not installed"
done
start_menu=$(find "$NESDRIX_WINE_PREFIX/drive_c" -path '*/Start Menu/Programs/Nesdrix/Nesdrix.lnk')
[ -n "$start_menu" ] || fail "no Start menu entry"
grep -q 'Uninstall\\\\Nesdrix\]' "$NESDRIX_WINE_PREFIX/system.reg" || fail "no uninstall entry"

# Only what the installed folder holds: no build folder on the path.
NESDRIX_WINE_BARE=1 "$wine_run" "$installed/nesdrix-cli.exe" --help >help.txt 2>&1 \
    || { cat help.txt >&2; fail "the installed nesdrix-cli.exe does not start"; }
grep -q "Usage: nesdrix-cli COMMAND" help.txt || { cat help.txt >&2; fail "no help from the CLI"; }

"$wine_run" "$installed/uninstall.exe" /S
wine_done
[ ! -e "$installed" ] || fail "the uninstaller left: $(cd "$installed" && find .)"
[ ! -e "$start_menu" ] || fail "the Start menu entry stayed"
! grep -q 'Uninstall\\\\Nesdrix\]' "$NESDRIX_WINE_PREFIX/system.reg" || fail "the uninstall entry stayed"
echo "installed, started and uninstalled"
