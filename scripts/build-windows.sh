#!/bin/sh

# SPDX-FileCopyrightText: 2026 The Nesdrix developers
#
# SPDX-License-Identifier: Apache-2.0

# Cross-builds Nesdrix for 64-bit Windows on Debian with MinGW-w64:
#   1. Qt 5 for Windows from Debian's own qtbase source, once, into a cache
#      folder outside the tree (NESDRIX_WIN_QT_CACHE), reused when present;
#   2. Nesdrix with cmake/mingw-w64.cmake into build/windows;
#   3. build/windows/nesdrix-VERSION-windows-x64.zip and, with makensis,
#      build/windows/nesdrix-VERSION-windows-x64-setup.exe.
# Usage: scripts/build-windows.sh [qt|build|package|all]   (default: all)
# NESDRIX_WIN_TESTS=OFF leaves the unit tests out of the Windows build.
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)

qt_version=5.15.8
cache=${NESDRIX_WIN_QT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/nesdrix/qt5-mingw}
qt_prefix="$cache/qt-$qt_version-x86_64-w64-mingw32"
build_dir="$root/build/windows"
stage=${1:-all}
jobs=${NESDRIX_JOBS:-$(nproc)}

# The posix-thread compilers: std::thread and std::mutex need them, and the
# runtime DLLs they need are the ones the zip carries.
cross_bin="$cache/bin"
ensure_cross_compilers() {
    mkdir -p "$cross_bin"
    for tool in gcc g++; do
        real="/usr/bin/x86_64-w64-mingw32-$tool-posix"
        [ -x "$real" ] || { echo "build-windows: $real is missing; run scripts/install-deps.sh windows" >&2; exit 1; }
        ln -sf "$real" "$cross_bin/x86_64-w64-mingw32-$tool"
    done
    PATH="$cross_bin:$PATH"
    export PATH
}

elapsed() {
    seconds=$(( $(date +%s) - $1 ))
    printf '%dm%02ds' $((seconds / 60)) $((seconds % 60))
}

fetch_qt_source() {
    src_parent="$cache/src"
    if [ -x "$src_parent/qtbase/configure" ]; then
        return
    fi
    if ! apt-cache showsrc qtbase-opensource-src >/dev/null 2>&1 \
        || [ -z "$(apt-cache showsrc qtbase-opensource-src 2>/dev/null)" ]; then
        # Debian's source entries beside its binary ones, same suites and key.
        sudo=""
        [ "$(id -u)" -eq 0 ] || sudo="sudo"
        printf '%s\n' "Types: deb-src" "URIs: http://deb.debian.org/debian" \
            "Suites: bookworm bookworm-updates" "Components: main" \
            "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg" \
            | $sudo tee /etc/apt/sources.list.d/nesdrix-deb-src.sources >/dev/null
        $sudo apt-get update -q
    fi
    rm -rf "$src_parent.part"
    mkdir -p "$src_parent.part"
    (cd "$src_parent.part" && apt-get source -q qtbase-opensource-src)
    found=$(find "$src_parent.part" -maxdepth 1 -type d -name "qtbase-opensource-src-$qt_version*")
    [ -n "$found" ] || { echo "build-windows: Debian's qtbase source is not $qt_version" >&2; exit 1; }
    mv "$found" "$src_parent.part/qtbase"
    rm -rf "$src_parent"
    mv "$src_parent.part" "$src_parent"
}

build_qt() {
    if [ -f "$qt_prefix/.nesdrix-complete" ]; then
        echo "build-windows: cross Qt $qt_version reused from $qt_prefix"
        return
    fi
    started=$(date +%s)
    ensure_cross_compilers
    fetch_qt_source
    qt_build="$cache/build"
    rm -rf "$qt_build" "$qt_prefix"
    mkdir -p "$qt_build"
    cd "$qt_build"
    # Only what Nesdrix links: Core, Gui, Network, Widgets, Test, the Windows
    # platform plugin and styles. Debian's package lacks the tablet header the
    # platform plugin wants, hence no tablet events and no Direct2D.
    "$cache/src/qtbase/configure" \
        -xplatform win32-g++ -device-option CROSS_COMPILE=x86_64-w64-mingw32- \
        -prefix "$qt_prefix" -release -opensource -confirm-license \
        -nomake examples -nomake tests -no-opengl -no-dbus -no-icu \
        -qt-zlib -qt-pcre -qt-libpng -qt-libjpeg -qt-freetype -qt-harfbuzz \
        -no-openssl -no-sql-odbc -no-sql-sqlite -no-sql-psql -no-sql-mysql \
        -no-feature-tabletevent -no-direct2d \
        -no-feature-sql -no-feature-concurrent -no-feature-vulkan
    echo "build-windows: cross Qt configured after $(elapsed "$started")"
    make -j"$jobs"
    make install
    touch "$qt_prefix/.nesdrix-complete"
    cd "$root"
    rm -rf "$qt_build"
    echo "build-windows: cross Qt $qt_version built in $(elapsed "$started")"
}

case $stage in
qt) build_qt ;;
all)
    build_qt
    ;;
*) echo "usage: $0 [qt|build|package|all]" >&2; exit 2 ;;
esac
