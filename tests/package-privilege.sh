#!/bin/sh

# SPDX-FileCopyrightText: 2026 The Nesdrix developers
#
# SPDX-License-Identifier: Apache-2.0

# The unpacked package after its post-install step, as the user nobody meets it:
# run by package-check.sh on the program's side of tests/netns-fleet.sh (five
# simulated devices), as root, with the unpacked /usr/libexec mounted over the
# machine's in a mount namespace of its own, where the launcher looks.
# Usage: package-privilege.sh ROOT COMMAND (the desktop entry's command)
# Background runs call setpriv directly, so that $! is the program's pid.
set -eu
root=$1
command=$2
if [ "${3:-}" != --mounted ]; then
    exec unshare --mount -- "$0" "$root" "$command" --mounted
fi
mount --bind "$root/usr/libexec" /usr/libexec
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
export QT_QPA_PLATFORM=offscreen

fail() {
    echo "FAIL: $*" >&2
    cat "$NESDRIX_SIM_LOG" >&2
    exit 1
}
wait_for_replies() {
    tries=0
    until [ "$(grep -c '^sent 5 replies' "$NESDRIX_SIM_LOG")" -ge "$1" ]; do
        tries=$((tries + 1))
        [ $tries -le 300 ] || fail "no scan number $1 reached the devices"
        sleep 0.1
    done
}
holds_no_capability() {
    grep '^Cap' "/proc/$1/status" | sed "s/^/$2: /"
    for field in CapPrm CapEff CapAmb; do
        grep -q "^$field:[[:space:]]*0*$" "/proc/$1/status" || fail "$2 holds $field"
    done
}
refused_as_second() {
    status=0
    setpriv --reuid=nobody --regid=nogroup --clear-groups \
        "$root/usr/bin/nesdrix-cli" scan --wait-ms 300 >"$out/second" 2>&1 || status=$?
    [ $status -eq 4 ] && grep -q "in use" "$out/second" ||
        fail "a second instance got status $status: $(cat "$out/second")"
}

# The window program, with a plugin folder named in its environment: whatever
# loads from there runs without privilege.
QT_PLUGIN_PATH="$out" QT_QPA_PLATFORM_PLUGIN_PATH="$out" \
    setpriv --reuid=nobody --regid=nogroup --clear-groups "$root/usr/bin/$command" &
window=$!
wait_for_replies 1
holds_no_capability $window window
refused_as_second
kill $window
wait $window || true

setpriv --reuid=nobody --regid=nogroup --clear-groups \
    "$root/usr/bin/nesdrix-cli" scan --wait-ms 3000 --format csv >"$out/first" &
first=$!
wait_for_replies 2
holds_no_capability $first nesdrix-cli
refused_as_second
wait $first || fail "nesdrix-cli scan failed through the launcher"
[ "$(grep -c 02:4E:58 "$out/first")" -eq 5 ] || fail "the first instance lost replies: $(cat "$out/first")"
echo "package privilege check passed"
