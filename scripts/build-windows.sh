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
"$root/scripts/install-deps.sh" windows

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

# Only what Nesdrix links: Core, Gui, Network, Widgets, Test, the Windows
# platform plugin and styles. Debian's package lacks the tablet header the
# platform plugin wants, hence no tablet events and no Direct2D.
qt_configure_options="-xplatform win32-g++ -device-option CROSS_COMPILE=x86_64-w64-mingw32- \
-prefix $qt_prefix -release -opensource -confirm-license \
-nomake examples -nomake tests -no-opengl -no-dbus -no-icu \
-qt-zlib -qt-pcre -qt-libpng -qt-libjpeg -qt-freetype -qt-harfbuzz \
-no-openssl -no-sql-odbc -no-sql-sqlite -no-sql-psql -no-sql-mysql \
-no-feature-tabletevent -no-direct2d \
-no-feature-sql -no-feature-concurrent -no-feature-vulkan"

build_qt() {
    if [ -f "$qt_prefix/.nesdrix-complete" ]; then
        echo "build-windows: cross Qt $qt_version reused from $qt_prefix"
        return
    fi
    started=$(date +%s)
    ensure_cross_compilers
    fetch_qt_source
    qt_build="$cache/build"
    # configure builds qmake with a plain make.
    MAKEFLAGS="-j$jobs"
    export MAKEFLAGS
    # A build cut short (a machine switched off, a job's time limit) goes on
    # where it stopped, when it was configured the same way.
    if [ "$(cat "$qt_build/.nesdrix-configured" 2>/dev/null)" = "$qt_configure_options" ]; then
        echo "build-windows: going on with the cross Qt build in $qt_build"
        cd "$qt_build"
        # A compiler stopped with the machine leaves an empty object that make
        # takes for done.
        find . -name '*.o' -size 0 -delete
    else
        rm -rf "$qt_build" "$qt_prefix"
        mkdir -p "$qt_build"
        cd "$qt_build"
        # shellcheck disable=SC2086 # one word per option
        "$cache/src/qtbase/configure" $qt_configure_options
        printf '%s' "$qt_configure_options" >.nesdrix-configured
        echo "build-windows: cross Qt configured after $(elapsed "$started")"
    fi
    make -j"$jobs"
    make install
    touch "$qt_prefix/.nesdrix-complete"
    cd "$root"
    rm -rf "$qt_build"
    echo "build-windows: cross Qt $qt_version built in $(elapsed "$started")"
}

# Nesdrix itself, and the simulator for this machine that the Wine tests play
# the fleet with.
build_nesdrix() {
    started=$(date +%s)
    [ -f "$qt_prefix/.nesdrix-complete" ] \
        || { echo "build-windows: no cross Qt in $qt_prefix; run $0 qt" >&2; exit 1; }
    host_build="$root/build/windows-host"
    cmake -S "$root" -B "$host_build" -DCMAKE_BUILD_TYPE=Release -DNESDRIX_BUILD_TESTS=OFF
    cmake --build "$host_build" --parallel "$jobs" --target nesdrix-devsim
    # lrelease runs here, so it is the host's.
    multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || echo x86_64-linux-gnu)
    cmake -S "$root" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_PREFIX_PATH="$qt_prefix" \
        -DQt5LinguistTools_DIR="/usr/lib/$multiarch/cmake/Qt5LinguistTools" \
        -DNESDRIX_BUILD_TESTS="${NESDRIX_WIN_TESTS:-ON}" \
        -DNESDRIX_HOST_SIMULATOR="$host_build/bin/nesdrix-devsim"
    cmake --build "$build_dir" --parallel "$jobs"
    echo "build-windows: Nesdrix built for Windows in $(elapsed "$started")"
}

# The zip's folder: the programs, the Qt they load, the MinGW runtime, the
# catalogue, the licenses.
stage_files() {
    folder=$1
    rm -rf "$folder"
    mkdir -p "$folder/platforms" "$folder/styles" "$folder/imageformats" "$folder/licenses"
    for program in nesdrix nesdrix-cli nesdrix-devsim; do
        cp "$build_dir/bin/$program.exe" "$folder/"
    done
    cp "$build_dir/bin/zh_cn.qm" "$folder/"
    # Qt's own Chinese texts (standard buttons, the file dialog), from Debian's
    # catalogues of the same Qt release; the window looks in translations/.
    mkdir -p "$folder/translations"
    cp /usr/share/qt5/translations/qtbase_zh_CN.qm "$folder/translations/"
    for module in Core Gui Network Widgets; do
        cp "$qt_prefix/bin/Qt5$module.dll" "$folder/"
    done
    cp "$qt_prefix/plugins/platforms/qwindows.dll" "$folder/platforms/"
    cp "$qt_prefix/plugins/styles/qwindowsvistastyle.dll" "$folder/styles/"
    # The window's icon is an .ico in the program's resources.
    cp "$qt_prefix/plugins/imageformats/qico.dll" "$folder/imageformats/"
    for dll in libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do
        cp "$(x86_64-w64-mingw32-g++-posix -print-file-name=$dll)" "$folder/"
    done
    x86_64-w64-mingw32-strip --strip-unneeded "$folder"/*.exe "$folder"/*.dll "$folder"/*/*.dll
    cp "$root/README.md" "$folder/README.md"
    cp "$root/LICENSES/Apache-2.0.txt" "$folder/licenses/"
    # Qt under the LGPL 3 (which builds on the GPL 3); the compiler's runtime
    # under the terms Debian records for it.
    cp "$cache/src/qtbase/LICENSE.LGPL3" "$folder/licenses/Qt-LGPL-3.0.txt"
    cp "$cache/src/qtbase/LICENSE.GPL3" "$folder/licenses/Qt-GPL-3.0.txt"
    cp /usr/share/doc/gcc-mingw-w64-base/copyright "$folder/licenses/MinGW-GCC-runtime.txt"
    cp /usr/share/doc/mingw-w64-common/copyright "$folder/licenses/MinGW-w64.txt"
}

package() {
    started=$(date +%s)
    version=$(sed -n 's/^project(Nesdrix VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
    name="nesdrix-$version-windows-x64"
    folder="$build_dir/package/$name"
    stage_files "$folder"
    zip="$build_dir/$name.zip"
    rm -f "$zip"
    (cd "$build_dir/package" && cmake -E tar cf "$zip" --format=zip "$name")
    echo "build-windows: $zip"
    # The uninstaller removes what the installer put there, and nothing else.
    (
        cd "$folder"
        find . -type f | sort | sed 's|^\./||; s|/|\\|g; s|^|  Delete "$INSTDIR\\|; s|$|"|'
        find . -mindepth 1 -type d | sort -r | sed 's|^\./||; s|/|\\|g; s|^|  RMDir "$INSTDIR\\|; s|$|"|'
    ) >"$folder.uninstall.nsh"
    setup="$build_dir/$name-setup.exe"
    makensis -V2 -DVERSION="$version" -DSOURCE="$folder" -DICON="$root/resources/Nesdrix.ico" \
        -DOUTFILE="$setup" "$root/packaging/windows/nesdrix.nsi"
    echo "build-windows: $setup ($(du -k "$setup" | cut -f1) KiB)"
    echo "build-windows: packaged in $(elapsed "$started")"
}

case $stage in
qt) build_qt ;;
build) build_nesdrix ;;
package) package ;;
all)
    build_qt
    build_nesdrix
    package
    ;;
*) echo "usage: $0 [qt|build|package|all]" >&2; exit 2 ;;
esac
