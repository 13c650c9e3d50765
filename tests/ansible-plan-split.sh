#!/bin/sh

# SPDX-FileCopyrightText: 2026 The Nesdrix developers
#
# SPDX-License-Identifier: Apache-2.0

# Runs tests/ansible-plan-split.yml against the source tree's apply role:
#   tests/ansible-plan-split.sh SOURCE-DIR
# Skipped (77) without ansible-core.
set -eu
source_dir=$1
command -v ansible-playbook >/dev/null || {
    echo "ansible-plan-split.sh: ansible-playbook is missing (install ansible-core); skipped" >&2
    exit 77
}
work=$(mktemp -d "${TMPDIR:-/tmp}/nesdrix-split.XXXXXX")
trap 'rm -rf "$work"' EXIT
HOME=$work ANSIBLE_LOCAL_TEMP=$work/tmp ANSIBLE_NOCOLOR=1 ANSIBLE_RETRY_FILES_ENABLED=0 \
    ansible-playbook -i plant_a,plant_b, "$source_dir/tests/ansible-plan-split.yml" \
    -e plan_dir="$work" \
    -e split_template="$source_dir/ansible/nesdrix/fleet/roles/apply/templates/split-plan.j2"
