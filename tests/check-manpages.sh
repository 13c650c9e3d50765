#!/bin/sh

# SPDX-FileCopyrightText: 2026 The Nesdrix developers
#
# SPDX-License-Identifier: Apache-2.0

# Keeps what the manual pages and the README say by hand in step with what
# nesdrix-cli and the window program say of themselves (--help, --version) and
# with the CLI's exit statuses:
#   tests/check-manpages.sh NESDRIX-CLI SOURCE-DIR NESDRIX
set -eu
cli=$1
source=$2
window=$3
page=$source/packaging/man/nesdrix-cli.h2m
window_page=$source/packaging/man/nesdrix.1
failed=0
problem() {
    echo "check-manpages.sh: $*" >&2
    failed=1
}
# One line of words: the help wraps where it likes.
flat() { tr '\n' ' ' | tr -s ' '; }

commands=$("$cli" --help | sed -n 's/^  \([a-z][a-z]*\)  .*/\1/p')
[ -n "$commands" ] || problem "nesdrix-cli --help lists no command"
help=$("$cli" --help)
for command in $commands; do
    help="$help
$("$cli" "$command" --help)"
    [ "$("$cli" help "$command")" = "$("$cli" "$command" --help)" ] ||
        problem "\"help $command\" differs from \"$command --help\""
    grep -q "^\.B nesdrix\\\\-cli $command" "$page" || problem "nesdrix-cli.h2m has no example of $command"
done

# The window's help and version need no display: they come before the program
# connects to one, opens a socket or shows a window. Its page lists the options
# its help lists.
status=0
window_help=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$window" --help 2>&1) || status=$?
[ $status -eq 0 ] && echo "$window_help" | grep -q "^Usage: nesdrix \[options\]" ||
    problem "nesdrix --help without a display: status $status, $window_help"
options_of() { grep -o -- '--[a-z][a-z-]*' | sort -u | flat; }
page_options=$(sed -n '/^\.SH OPTIONS/,/^\.SH [^O]/p' "$window_page" | sed 's/\\-/-/g' | options_of)
help_options=$(echo "$window_help" | sed -n '/^Options:/,$p' | options_of)
[ -n "$help_options" ] && [ "$page_options" = "$help_options" ] ||
    problem "nesdrix.1 OPTIONS names \"$page_options\", nesdrix --help \"$help_options\""

# Every option a page or the README names is one the programs take.
help="$help
$window_help"
for option in $(sed 's/\\-/-/g' "$page" "$window_page" | grep -o -- '--[a-z][a-z-]*' | sort -u) \
    $(sed -n '/^## Command line: nesdrix-cli/,/^## How/p' "$source/README.md" | grep -o -- '--[a-z][a-z-]*' | sort -u); do
    echo "$help" | grep -q -- "$option\b" || problem "$option is documented but no --help lists it"
done

# The same exit statuses in the code, the page and the README's table.
from_code=$(sed -n 's/^ *Exit[A-Za-z]* = \([0-9]*\),.*/\1/p' "$source/tools/cli/exitcode.h" | sort -n | flat)
from_page=$(sed -n '/^\[EXIT STATUS\]/,/^\[FILES\]/p' "$page" | sed -n 's/^\.B \([0-9][0-9]*\)$/\1/p' | sort -n | flat)
from_readme=$(sed -n 's/^| \([0-9][0-9]*\) | .*/\1/p' "$source/README.md" | sort -n | flat)
[ "$from_page" = "$from_code" ] || problem "exit statuses: page \"$from_page\", code \"$from_code\""
[ "$from_readme" = "$from_code" ] || problem "exit statuses: README \"$from_readme\", code \"$from_code\""

# The audit log's default, as every user reads it, under FILES.
audit=$(HOME='~' env -u XDG_STATE_HOME "$cli" set --help | flat |
    sed -n 's/.*(default \([^;]*\);.*/\1/p')
[ -n "$audit" ] || problem "set --help names no default audit log"
sed -n '/^\[FILES\]/,/^\[/p' "$page" | sed 's/\\-/-/g' | grep -qF ".I $audit" ||
    problem "nesdrix-cli.h2m FILES does not name the default audit log $audit"

# One version.
version=$("$cli" --version | sed -n 's/^nesdrix-cli \([0-9.]*\)$/\1/p')
[ -n "$version" ] || problem "nesdrix-cli --version prints no version"
grep -q "^\.TH NESDRIX 1 \".*\" \"Nesdrix $version\"" "$window_page" ||
    problem "nesdrix.1 is not the page of version $version"
window_version=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$window" --version 2>&1) || true
[ "$window_version" = "nesdrix $version" ] ||
    problem "nesdrix --version prints \"$window_version\", not nesdrix $version"

[ $failed -eq 0 ] && echo "check-manpages.sh: the pages agree with nesdrix-cli $version"
exit $failed
