#!/bin/sh
# Takes the screenshots in docs/screenshots/: the main window in Chinese, Help >
# Host Info and Help > About. The program runs under Xvfb inside a private network
# namespace, so its start-up broadcast never leaves this run.
#
# Usage: tools/take-screenshots.sh [build-directory]   (default build; build it first)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)

if [ "${1:-}" != "--inside" ]; then
    build=$(realpath "${1:-$root/build}")
    "$root/scripts/install-deps.sh" xvfb xdotool imagemagick openbox fonts-droid-fallback
    if [ "$(id -u)" -eq 0 ]; then
        exec unshare --net -- "$0" --inside "$build"
    fi
    exec unshare --map-root-user --net -- "$0" --inside "$build"
fi
build=$2
ip link set lo up
ip route add 255.255.255.255/32 dev lo

# A program directory of its own, holding the choice of Chinese.
program_dir=$(mktemp -d)
pids=""
cleanup() {
    for pid in $pids; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$program_dir"
}
trap cleanup EXIT
cp "$build/bin/nesdrix" "$build/bin/zh_cn.qm" "$program_dir/"
printf '[Languages]\nlanguages=Chinese\n' > "$program_dir/language.ini"

display=$((90 + $$ % 100))
# A black root window, which the shots with an open menu are trimmed from.
Xvfb ":$display" -screen 0 1024x768x24 -br -nolisten tcp -noreset >/dev/null 2>&1 &
pids="$!"
export DISPLAY=":$display"
tries=0
until xdotool getdisplaygeometry >/dev/null 2>&1; do
    tries=$((tries + 1))
    [ "$tries" -lt 100 ] || { echo "Xvfb did not start" >&2; exit 1; }
    sleep 0.1
done
openbox >/dev/null 2>&1 &
pids="$pids $!"
sleep 1

# The host name row shows this rather than whoever takes the screenshots.
USERNAME=technician "$program_dir/nesdrix" >/dev/null 2>&1 &
pids="$pids $!"
window=$(xdotool search --sync --onlyvisible --name '^Nesdrix$' | head -n 1)
xdotool windowmove --sync "$window" 40 40
sleep 1

shots="$root/docs/screenshots"
# The Language menu open, its check mark on 中文.
xdotool mousemove --window "$window" 20 10 click 1
sleep 0.5
import -window root -trim +repage "$shots/main-window-zh.png"
xdotool key Escape
sleep 0.5

# Help is the second menu; its entries are About, then Host Info.
open_help_entry() {
    xdotool mousemove --window "$window" 60 10 click 1
    sleep 0.5
    xdotool key --delay 150 $1 Return
}
grab_dialog() {
    dialog=$(xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1)
    sleep 0.5
    import -window "$dialog" -frame "$shots/$2"
    xdotool key Escape
    sleep 0.5
}
open_help_entry "Down"
grab_dialog "关于" about-zh.png
open_help_entry "Down Down"
grab_dialog "主机信息" host-info-zh.png
