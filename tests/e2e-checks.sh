# SPDX-FileCopyrightText: 2026 The Nesdrix developers
#
# SPDX-License-Identifier: Apache-2.0

# The checks the end-to-end scripts share, sourced by them; each script
# defines fail MESSAGE. wait_for_log reads the simulator's log named by $log.

# contains FILE TEXT: the file holds the text (fixed string).
contains() {
    grep -qF -- "$2" "$1" || { cat "$1" >&2; fail "$1 lacks: $2"; }
}

lacks() {
    ! grep -qF -- "$2" "$1" || { cat "$1" >&2; fail "$1 holds: $2"; }
}

count_lines() {
    grep -cF -- "$2" "$1" || true
}

# wait_for_log TEXT [COUNT]: waits until the simulator has logged TEXT COUNT
# times, for up to wait_for_log_seconds (30 by default).
wait_for_log() {
    local tries=0
    until [ "$(count_lines "$log" "$1")" -ge "${2:-1}" ]; do
        tries=$((tries + 1))
        [ $tries -le $((${wait_for_log_seconds:-30} * 10)) ] \
            || fail "the simulator never logged ${2:-1} x: $1"
        sleep 0.1
    done
}
