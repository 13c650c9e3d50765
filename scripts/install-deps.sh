#!/bin/sh

# SPDX-FileCopyrightText: 2026 The Nesdrix developers
#
# SPDX-License-Identifier: Apache-2.0

# Installs the Debian packages that building, running and testing Nesdrix need,
# and only those that are missing. Arguments name more packages; "windows"
# stands for those of the Windows cross build and its tests under Wine
# (scripts/build-windows.sh).
set -eu

windows_packages="g++-mingw-w64-x86-64-posix wine64 wine nsis xvfb xdotool xclip imagemagick"
extra=""
for argument in "$@"; do
    if [ "$argument" = windows ]; then
        extra="$extra $windows_packages"
    else
        extra="$extra $argument"
    fi
done

packages="build-essential cmake qtbase5-dev qttools5-dev qttools5-dev-tools \
qt6-base-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools libgl-dev \
help2man gzip lintian reuse groff-base man-db \
iproute2 util-linux clang libclang-rt-14-dev \
python3 dpkg-dev desktop-file-utils libcap2-bin fonts-noto-cjk \
qttranslations5-l10n qt6-translations-l10n \
ansible-core openssh-client openssh-server $extra"

missing=""
for package in $packages; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $package"
    fi
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends $missing
