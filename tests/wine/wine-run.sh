#!/bin/sh

# SPDX-FileCopyrightText: 2026 The Nesdrix developers
#
# SPDX-License-Identifier: Apache-2.0

# Runs a Windows program of the cross build under Wine:
#
#   tests/wine/wine-run.sh PROGRAM.exe [ARGS...]
#
# Only inside a private network namespace (netns-run.sh or netns-fleet.sh makes
# one): a Windows program scans every adapter it sees. Each run has a Wine prefix
# of its own, linked from a template that the first run makes (a fresh prefix
# takes half a minute), and ends every Wine process of it on the way out.
# NESDRIX_WINE_QT names the cross Qt, whose DLLs and plugins the program loads;
# the MinGW runtime DLLs come from the compiler. Exits 77 (the tests' "skipped")
# where Wine is not installed.
set -eu

[ $# -ge 1 ] || { echo "usage: $0 PROGRAM.exe [ARGS...]" >&2; exit 2; }
if ! command -v wine >/dev/null 2>&1; then
    echo "wine-run.sh: Wine is not installed (scripts/install-deps.sh windows); skipped" >&2
    exit 77
fi
if [ "$(readlink /proc/self/ns/net)" = "$(readlink /proc/1/ns/net)" ]; then
    echo "wine-run.sh: refusing to run Wine in the machine's own network namespace;" \
        "run it through tests/netns-run.sh or tests/netns-fleet.sh" >&2
    exit 2
fi

qt=${NESDRIX_WINE_QT:-}
template=${NESDRIX_WINE_TEMPLATE:-${TMPDIR:-/tmp}/nesdrix-wine-template-$(id -u)}
export WINEDEBUG=-all
# No downloads of Wine's .NET and HTML engines, and no dialog asking for them.
export WINEDLLOVERRIDES="mscoree,mshtml="

# windows_path DIR: the folder as Windows programs under Wine see it.
windows_path() {
    printf 'Z:%s' "$1" | tr / '\\'
}

# NESDRIX_WINE_BARE=1 runs a packaged program with what its folder holds alone.
if [ "${NESDRIX_WINE_BARE:-0}" != 1 ]; then
    [ -n "$qt" ] || { echo "wine-run.sh: NESDRIX_WINE_QT names no cross Qt" >&2; exit 2; }
    mingw_runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")
    winpthread=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libwinpthread-1.dll)")
    WINEPATH="$(windows_path "$qt/bin");$(windows_path "$mingw_runtime");$(windows_path "$winpthread")"
    QT_PLUGIN_PATH="Z:$qt/plugins"
    export WINEPATH QT_PLUGIN_PATH
else
    unset WINEPATH QT_PLUGIN_PATH
fi

# Wine keeps the machine's own QT_ variables from Windows programs and hands
# them WINEQT_ ones under the QT_ name instead.
for variable in $(env | sed -n 's/^\(QT_[A-Za-z0-9_]*\)=.*/\1/p'); do
    eval "export WINE$variable=\"\$$variable\""
done

# The template, made once (under a lock: tests run side by side).
(
    flock 9
    if [ ! -f "$template/.complete" ]; then
        rm -rf "$template"
        WINEPREFIX="$template" wineboot --init
        WINEPREFIX="$template" wineserver --wait
        touch "$template/.complete"
    fi
) 9>"$template.lock"

# A prefix named by NESDRIX_WINE_PREFIX is made when missing and kept, with its
# Wine processes, for the next program of the same caller, who removes it.
if [ -n "${NESDRIX_WINE_PREFIX:-}" ]; then
    prefix=$NESDRIX_WINE_PREFIX
    keep=1
else
    prefix=$(mktemp -d "$template-run.XXXXXX")
    keep=0
fi
export WINEPREFIX="$prefix"
child=""
cleanup() {
    [ -z "$child" ] || kill "$child" 2>/dev/null || true
    if [ $keep -eq 0 ]; then
        wineserver --kill 2>/dev/null || true
        rm -rf "$prefix"
    fi
}
trap cleanup EXIT
# Ctrl+C at a terminal reaches the program with the rest of the process group;
# SIGUSR1 plays it for a caller that started this in the background (where SIGINT
# stays ignored). Wine turns it into the console's Ctrl+C event.
trap : INT
trap '[ -z "$child" ] || kill -INT "$child"' USR1
trap 'exit 143' TERM
if [ ! -f "$prefix/system.reg" ]; then
    # Hard links for the bulk; the registry files, which Wine rewrites, as copies.
    mkdir -p "$prefix"
    cp -al "$template/." "$prefix/"
    for hive in "$prefix"/*.reg; do
        cp --remove-destination "$template/$(basename "$hive")" "$hive"
    done
    rm -f "$prefix/.complete"
fi

wine "$@" &
child=$!
status=0
# A trapped signal ends the first wait early; the program's own end ends the second.
wait "$child" || status=$?
if kill -0 "$child" 2>/dev/null; then
    status=0
    wait "$child" || status=$?
fi
child=""
exit $status
