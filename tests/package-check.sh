#!/bin/sh

# SPDX-FileCopyrightText: 2026 The Nesdrix developers
#
# SPDX-License-Identifier: Apache-2.0

# Builds the Debian package of a build tree and checks it as a user meets it: what
# it holds, its desktop entry, its maintainer scripts, and that the program it
# installs lists a simulated fleet through its launcher, with no privilege of its
# own (inside private network namespaces, as root; without root those runs are
# left out).
# Usage: package-check.sh CPACK BUILD_DIR VERSION SIMULATOR FLEET
set -eu
cpack=$1
build=$2
version=$3
simulator=$4
fleet=$5
here=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

if ! "$cpack" -G DEB -B "$scratch/out" --config "$build/CPackConfig.cmake" >"$scratch/cpack.log" 2>&1; then
    cat "$scratch/cpack.log" >&2
    fail "cpack could not build the package"
fi
deb="$scratch/out/nesdrix_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no package named $(basename "$deb")"
ls -l "$deb"

# What the package holds: MODE-PREFIX PATH, as dpkg-deb --contents lists it.
dpkg-deb --contents "$deb" >"$scratch/contents"
holds() {
    awk -v mode="$1" -v path="$2" 'index($1, mode) == 1 && $6 == path { found = 1 }
        END { exit !found }' "$scratch/contents" || fail "the package holds no $2 ($1)"
}
program_dir=./usr/libexec/nesdrix
holds -rwx "$program_dir/nesdrix"
holds -rwx "$program_dir/nesdrix-cli"
holds -rwx "$program_dir/nesdrix-launcher"
holds -rw- "$program_dir/zh_cn.qm"
holds l ./usr/bin/nesdrix
holds l ./usr/bin/nesdrix-cli
holds -rw- ./usr/share/applications/nesdrix.desktop
holds -rw- ./usr/lib/sysctl.d/60-nesdrix.conf
holds -rw- ./usr/share/icons/hicolor/48x48/apps/nesdrix.png
for png in $(cd "$build" && find icons -name '*.png'); do
    holds -rw- "./usr/share/$png"
done
if [ -e "$build/bin/nesdrix-devsim" ]; then
    holds -rwx ./usr/bin/nesdrix-devsim
fi

depends=$(dpkg-deb --field "$deb" Depends)
for package in libqt5widgets5 libqt5network5 libcap2-bin qttranslations5-l10n; do
    echo "$depends" | grep -q "$package" || fail "Depends lacks $package: $depends"
done

root="$scratch/root"
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/nesdrix.desktop"
icon=$(sed -n 's/^Icon=//p' "$root/usr/share/applications/nesdrix.desktop")
[ -f "$root/usr/share/icons/hicolor/48x48/apps/$icon.png" ] || fail "no icon named $icon"
command=$(sed -n 's/^Exec=//p' "$root/usr/share/applications/nesdrix.desktop")
[ "$(readlink -f "$root/usr/bin/$command")" = "$root/usr/libexec/nesdrix/nesdrix-launcher" ] ||
    fail "$command does not lead to the launcher"

# Least privilege: after the post-install step the launcher, which links no Qt,
# is the one file with a capability, and the programs it starts hold none.
dpkg-deb --control "$deb" "$scratch/control"
if [ "$(id -u)" -eq 0 ]; then
    DPKG_ROOT="$root" sh "$scratch/control/postinst" configure
    getcap -r "$root" | tee "$scratch/capabilities"
    [ "$(cat "$scratch/capabilities")" = "$root/usr/libexec/nesdrix/nesdrix-launcher cap_net_bind_service=ep" ] ||
        fail "only the launcher may hold a capability"
    ! objdump -p "$root/usr/libexec/nesdrix/nesdrix-launcher" | grep -q 'NEEDED.*Qt' ||
        fail "the launcher links Qt"
    chmod 755 "$scratch"
    "$here/netns-fleet.sh" --simulator "$simulator" "$fleet" -- \
        "$here/package-privilege.sh" "$root" "$command"
fi

# Removal: prerm takes what a run as root left beside the program, so that the
# folder is empty when dpkg deletes the files it installed.
echo "[Languages]" >"$root/$program_dir/language.ini"
DPKG_ROOT="$root" sh "$scratch/control/prerm" remove
[ "$(ls "$root/$program_dir")" = "$(printf 'nesdrix\nnesdrix-cli\nnesdrix-launcher\nzh_cn.qm')" ] ||
    fail "prerm left $(ls "$root/$program_dir") in $program_dir"
echo "package check passed: $(basename "$deb")"
