#!/bin/bash

# SPDX-FileCopyrightText: 2026 The Nesdrix developers
#
# SPDX-License-Identifier: Apache-2.0

# The Ansible collection end to end, over SSH, on two simulated plant networks:
#
#   tests/ansible-e2e.sh NESDRIX-CLI NESDRIX-DEVSIM SOURCE-DIR
#
# Five network namespaces: a controller, and for each plant a network host
# (an sshd of its own, reached from the controller over a veth pair) whose
# second cable leads to a simulated fleet. Documentation addresses only:
#   controller 198.51.100.1/28 <-> plant_a host 198.51.100.2/28,
#              198.51.100.17/28 <-> plant_b host 198.51.100.18/28
#   plant_a host 192.0.2.1/24    <-> its devices (192.0.2.64/26 local)
#   plant_b host 203.0.113.1/24  <-> its devices (203.0.113.64/26 local)
# The play merges both fleets, reports a device added between two runs,
# applies a plan re-addressing one device in each network (dry run first, then
# for real, both audit logs fetched), and refuses a plan with an unknown MAC.
# Needs root, ansible-core and openssh-server; exits 77 (skipped) without them.
set -eu
. "$(dirname "$0")/e2e-checks.sh"

cli=$(realpath "${1:?nesdrix-cli}")
devsim=$(realpath "${2:?nesdrix-devsim}")
source_dir=$(realpath "${3:?source folder}")

skip() {
    echo "ansible-e2e.sh: $*; skipped" >&2
    exit 77
}
[ "$(id -u)" -eq 0 ] || skip "needs root to create network namespaces"
for tool in ansible-playbook ansible-inventory ansible-galaxy ssh ssh-keygen; do
    command -v $tool >/dev/null || skip "$tool is missing (install ansible-core and openssh-client)"
done
[ -x /usr/sbin/sshd ] || skip "/usr/sbin/sshd is missing (install openssh-server)"

ctl=nx-ctl-$$
host_a=nx-host-a-$$
host_b=nx-host-b-$$
dev_a=nx-dev-a-$$
dev_b=nx-dev-b-$$
namespaces=("$ctl" "$host_a" "$host_b" "$dev_a" "$dev_b")
work=$(mktemp -d "${TMPDIR:-/tmp}/nesdrix-ansible.XXXXXX")
chmod 755 "$work"
site=$work/site
declare -A sim_pid

cleanup() {
    local ns pid
    for pid in "${sim_pid[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    for pid_file in "$work"/*/sshd.pid; do
        [ -f "$pid_file" ] && kill "$(cat "$pid_file")" 2>/dev/null || true
    done
    # What is left in our namespaces is ours: sessions of our sshd, the
    # controller's SSH connections kept open between tasks.
    for ns in "${namespaces[@]}"; do
        for pid in $(ip netns pids "$ns" 2>/dev/null); do
            kill "$pid" 2>/dev/null || true
        done
        ip netns del "$ns" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# cable NS-A IF-A ADDRESS-A NS-B IF-B ADDRESS-B: a veth pair made inside the
# namespaces, so that no end ever appears on the machine's own network.
cable() {
    ip -n "$1" link add "$2" type veth peer name "$5" netns "$4"
    ip -n "$1" addr add "$3" dev "$2"
    ip -n "$4" addr add "$6" dev "$5"
    ip -n "$1" link set "$2" up
    ip -n "$4" link set "$5" up
}

# wait_running NS IF: nesdrix-cli scans only on adapters with a carrier.
wait_running() {
    local tries=0
    until ip -n "$1" -br link show "$2" | grep -q ' UP '; do
        tries=$((tries + 1))
        [ $tries -le 50 ] || fail "$2 in $1 never came up"
        sleep 0.1
    done
}

for ns in "${namespaces[@]}"; do
    ip netns add "$ns"
    ip -n "$ns" link set lo up
done
cable "$ctl" to-a 198.51.100.1/28 "$host_a" uplink 198.51.100.2/28
cable "$ctl" to-b 198.51.100.17/28 "$host_b" uplink 198.51.100.18/28
cable "$host_a" plant 192.0.2.1/24 "$dev_a" eth0 192.0.2.10/24
cable "$host_b" plant 203.0.113.1/24 "$dev_b" eth0 203.0.113.10/24
ip -n "$dev_a" route add local 192.0.2.64/26 dev lo
ip -n "$dev_b" route add local 203.0.113.64/26 dev lo
wait_running "$host_a" plant
wait_running "$host_b" plant
wait_running "$ctl" to-a
wait_running "$ctl" to-b

# The fleets: TYPE "NAME" MAC IP MASK GATEWAY VERSION POINTS (nesdrix-devsim --help).
cat >"$work/fleet-a.txt" <<'FLEET'
1 "Press PLC"   02:4E:58:00:0A:01 192.0.2.64 255.255.255.0 192.0.2.1 2.1.0.14 64.32
2 "Press HMI"   02:4E:58:00:0A:02 192.0.2.65 255.255.255.0 192.0.2.1 3.4.1.0  -
3 "Axis X"      02:4E:58:00:0A:03 192.0.2.66 255.255.255.0 192.0.2.1 1.0.9.2  -
FLEET
cat >"$work/fleet-b.txt" <<'FLEET'
1 "Oven PLC"    02:4E:58:00:0B:01 203.0.113.64 255.255.255.0 203.0.113.1 2.1.0.14 32.16
4 "Fan VFD"     02:4E:58:00:0B:02 203.0.113.65 255.255.255.0 203.0.113.1 5.2.0.1  -
FLEET
cp "$work/fleet-b.txt" "$work/fleet-b2.txt"
echo '2 "Oven HMI"    02:4E:58:00:0B:03 203.0.113.66 255.255.255.0 203.0.113.1 3.4.2.0  -' \
    >>"$work/fleet-b2.txt"

# start_simulator NAME NS FLEET-FILE: the log is $work/NAME.log.
start_simulator() {
    local name=$1 ns=$2 tries=0
    ip netns exec "$ns" "$devsim" "$3" >"$work/$name.log" 2>&1 &
    sim_pid[$name]=$!
    until grep -q '^ready' "$work/$name.log"; do
        tries=$((tries + 1))
        if ! kill -0 "${sim_pid[$name]}" 2>/dev/null || [ $tries -gt 100 ]; then
            cat "$work/$name.log" >&2
            fail "the simulator of $name did not get ready"
        fi
        sleep 0.1
    done
}

stop_simulator() {
    kill "${sim_pid[$1]}"
    wait "${sim_pid[$1]}" 2>/dev/null || true
    unset "sim_pid[$1]"
}

start_simulator plant_a "$dev_a" "$work/fleet-a.txt"
start_simulator plant_b "$dev_b" "$work/fleet-b.txt"

# Each network host: an sshd of its own on its uplink address, root logging in
# with the key made for this run.
mkdir -p /run/sshd
ssh-keygen -q -t ed25519 -N '' -f "$work/id_ed25519"
cp "$work/id_ed25519.pub" "$work/authorized_keys"
start_sshd() {
    local name=$1 ns=$2 address=$3 tries=0
    mkdir "$work/$name"
    ssh-keygen -q -t ed25519 -N '' -f "$work/$name/host_key"
    cat >"$work/$name/sshd_config" <<CONFIG
ListenAddress $address
HostKey $work/$name/host_key
AuthorizedKeysFile $work/authorized_keys
PermitRootLogin prohibit-password
PasswordAuthentication no
KbdInteractiveAuthentication no
UsePAM no
StrictModes no
Subsystem sftp /usr/lib/openssh/sftp-server
PidFile $work/$name/sshd.pid
CONFIG
    ip netns exec "$ns" /usr/sbin/sshd -f "$work/$name/sshd_config" -E "$work/$name/sshd.log"
    until [ -s "$work/$name/sshd.pid" ]; do
        tries=$((tries + 1))
        [ $tries -le 50 ] || { cat "$work/$name/sshd.log" >&2; fail "sshd of $name did not start"; }
        sleep 0.1
    done
}
start_sshd plant_a "$host_a" 198.51.100.2
start_sshd plant_b "$host_b" 198.51.100.18

# The controller: its own Ansible settings and the collection built and
# installed as a user does it.
mkdir -p "$work/home" "$work/collections" "$site"
cat >"$work/ansible.cfg" <<CONFIG
[defaults]
collections_path = $work/collections
remote_tmp = $work/remote-tmp
local_tmp = $work/local-tmp
host_key_checking = False
interpreter_python = /usr/bin/python3
retry_files_enabled = False
[inventory]
unparsed_is_failed = True
[ssh_connection]
ssh_args = -o ControlMaster=auto -o ControlPersist=60s -o UserKnownHostsFile=/dev/null -o StrictHostKeyChecking=no
control_path_dir = $work/cp
pipelining = True
CONFIG
cat >"$work/site.ini" <<INVENTORY
[nesdrix_networks]
plant_a ansible_host=198.51.100.2 nesdrix_audit_log=$work/plant_a/audit.csv
plant_b ansible_host=198.51.100.18 nesdrix_audit_log=$work/plant_b/audit.csv

[nesdrix_networks:vars]
ansible_user=root
ansible_ssh_private_key_file=$work/id_ed25519
nesdrix_cli=$cli
nesdrix_controller_cli=$cli
nesdrix_wait_ms=1000
INVENTORY

# in_namespace NS COMMAND...: runs with this run's Ansible settings, in its folder.
in_namespace() {
    (cd "$work" && HOME=$work/home ANSIBLE_CONFIG=$work/ansible.cfg ANSIBLE_NOCOLOR=1 \
        ANSIBLE_FORCE_COLOR=0 ip netns exec "$@")
}

on_controller() {
    in_namespace "$ctl" "$@"
}

# play EXPECTED-STATUS NAME PLAYBOOK [ARGS...]: output in $work/NAME.out.
play() {
    local expected=$1 name=$2 status=0
    shift 2
    on_controller ansible-playbook -i site.ini "$@" >"$work/$name.out" 2>&1 || status=$?
    echo "=== ansible-playbook $* ($name)"
    cat "$work/$name.out"
    [ $status -eq "$expected" ] || fail "the play $name ended with $status, expected $expected"
}

on_controller ansible-galaxy collection build --output-path "$work" \
    "$source_dir/ansible/nesdrix/fleet" >/dev/null
on_controller ansible-galaxy collection install --offline "$work"/nesdrix-fleet-*.tar.gz >/dev/null

# The dynamic inventory, on a network host over its own fleet.
echo "=== ansible-inventory --graph on plant_a"
NESDRIX_CLI=$cli NESDRIX_WAIT_MS=1000 in_namespace "$host_a" ansible-inventory --graph \
    -i "$work/collections/ansible_collections/nesdrix/fleet/scripts/nesdrix-inventory" \
    >"$work/graph.out"
cat "$work/graph.out"
contains "$work/graph.out" "@plc:"
contains "$work/graph.out" "|--press_plc"
contains "$work/graph.out" "@servo:"
contains "$work/graph.out" "|--axis_x"
NESDRIX_CLI=$cli in_namespace "$host_a" \
    "$work/collections/ansible_collections/nesdrix/fleet/scripts/nesdrix-inventory" --host axis_x \
    >"$work/host.out"
contains "$work/host.out" '"nesdrix_mac": "02:4E:58:00:0A:03"'
contains "$work/host.out" '"nesdrix_adapter": "plant"'

# Two scans: the first makes the site inventory, the second finds the device
# added in between.
play 0 scan-1 nesdrix.fleet.scan
[ "$(grep -c '"mac"' "$site/site.json")" -eq 5 ] || fail "site.json lists 5 devices"
contains "$site/site.json" '"network": "plant_b"'
contains "$site/site.csv" "network,type,name,ip,mac,"
contains "$site/site.csv" "plant_a,PLC,Press PLC,192.0.2.64,02:4E:58:00:0A:01"
contains "$site/site.csv" "plant_b,VFD,Fan VFD,203.0.113.65,02:4E:58:00:0B:02"
[ ! -e "$site/site.diff.txt" ] || fail "the first scan has nothing to compare with"

stop_simulator plant_b
start_simulator plant_b "$dev_b" "$work/fleet-b2.txt"
play 0 scan-2 nesdrix.fleet.scan
echo "=== site.csv"
cat "$site/site.csv"
echo "=== site.diff.txt"
cat "$site/site.diff.txt"
contains "$site/site.diff.txt" "new 02:4E:58:00:0B:03"
[ "$(wc -l <"$site/site.diff.txt")" -eq 1 ] || fail "one difference expected"
[ "$(grep -c '"mac"' "$site/site.previous.json")" -eq 5 ] || fail "site.previous.json keeps 5"

# A plan the devices follow already sends nothing and changes nothing, also on a
# host that has no audit log yet.
echo "02:4E:58:00:0A:01,192.0.2.64,255.255.255.0,192.0.2.1" >"$work/same.csv"
play 0 unchanged nesdrix.fleet.apply -e nesdrix_plan="$work/same.csv"
contains "$work/unchanged.out" "Nothing written: the devices already have these settings."
grep -q "plant_a *: ok=[0-9]* *changed=0 " "$work/unchanged.out" || fail "an unchanged plan changed plant_a"
[ "$(count_lines "$work/plant_a.log" "modify request")" -eq 0 ] || fail "an unchanged plan wrote"

# One device re-addressed in each network, listed out of network order.
cat >"$work/plan.csv" <<'PLAN'
MAC,IP,MASK,GATEWAY
# the oven line
02-4e-58-00-0b-02,203.0.113.150,255.255.255.0,203.0.113.1
02:4E:58:00:0A:03,192.0.2.150,255.255.255.0,192.0.2.1
PLAN
play 0 apply-check nesdrix.fleet.apply --check -e nesdrix_plan="$work/plan.csv"
contains "$work/apply-check.out" "line 4: would write 02:4E:58:00:0A:03"
contains "$work/apply-check.out" "line 3: would write 02:4E:58:00:0B:02"
for name in plant_a plant_b; do
    [ "$(count_lines "$work/$name.log" "modify request")" -eq 0 ] || fail "check mode wrote to $name"
done
[ ! -e "$site/audit" ] || fail "check mode fetched audit logs"

play 0 apply nesdrix.fleet.apply -e nesdrix_plan="$work/plan.csv"
contains "$work/plant_a.log" "modify request for 02:4E:58:00:0A:03 192.0.2.66 Axis X: new MAC 02:4E:58:00:0A:03, IP 192.0.2.150,"
contains "$work/plant_b.log" "modify request for 02:4E:58:00:0B:02 203.0.113.65 Fan VFD: new MAC 02:4E:58:00:0B:02, IP 203.0.113.150,"
contains "$site/audit/plant_a.csv" ",02:4E:58:00:0A:03,192.0.2.66,255.255.255.0,192.0.2.1,192.0.2.150,"
contains "$site/audit/plant_b.csv" ",02:4E:58:00:0B:02,203.0.113.65,255.255.255.0,203.0.113.1,203.0.113.150,"
echo "=== audit logs fetched"
cat "$site/audit/plant_a.csv" "$site/audit/plant_b.csv"

# A part that its network refuses stops every network before any writes.
cat >"$work/refused.csv" <<'PLAN'
02:4E:58:00:0A:01,192.0.2.151,255.255.255.0,192.0.2.1
02:4E:58:00:0B:01,203.0.113.255,255.255.255.0,203.0.113.1
PLAN
play 2 refused nesdrix.fleet.apply -e nesdrix_plan="$work/refused.csv"
contains "$work/refused.out" "line 2: IP Address Error!"
# A line whose MAC answers nowhere, or that names no MAC, stops the play before that.
cat >"$work/unknown.csv" <<'PLAN'
02:4E:58:00:0A:01,192.0.2.151,255.255.255.0,192.0.2.1
02:4E:58:00:0F:0F,203.0.113.151,255.255.255.0,203.0.113.1
Press PLC,192.0.2.152,255.255.255.0,192.0.2.1
PLAN
play 2 unknown nesdrix.fleet.apply -e nesdrix_plan="$work/unknown.csv"
contains "$work/unknown.out" "line 2: 02:4E:58:00:0F:0F answered in no network; line 3: the first field is no MAC address"
for name in plant_a plant_b; do
    [ "$(count_lines "$work/$name.log" "modify request")" -eq 1 ] || fail "a refused plan wrote to $name"
done
echo "ansible-e2e.sh: all checks passed"
