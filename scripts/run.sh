#!/usr/bin/env bash
# Installs what is missing, builds Quorvane.exe (preset "mingw") and starts it under Wine: on the
# current display if there is one (until you close it), otherwise on a private virtual display,
# where it waits for the main window, saves build/screenshots/run.png and stops again.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
source "$root/scripts/lib/wine-session.sh"

bash scripts/install-deps.sh
cmake --preset mingw >/dev/null
cmake --build --preset mingw -j2

program=$root/build/mingw/Quorvane.exe
export WINEPREFIX=$root/build/wineprefix-run
trap session_stop EXIT
trap 'exit 130' INT TERM HUP

if [ -n "${DISPLAY:-}" ] && [ -z "${CI:-}" ]; then
    session_start_wineserver
    session_prepare_prefix Y
    echo "Starting Quorvane.exe on $DISPLAY; close its window to end."
    session_wine "$program" || true
    exit 0
fi

session_start_xvfb
session_load_us_keymap
session_start_wineserver
session_prepare_prefix N
session_start_program /dev/null "$program"

main_window_id() { xdotool search --name '^Quorvane$' 2>/dev/null | head -1; }
main_window_shows() { [ -n "$(main_window_id)" ]; }
if ! session_wait_for 60 main_window_shows; then
    echo "run: the Quorvane window did not show within 60 s" >&2
    exit 1
fi
window=$(main_window_id)
# The window is painted shortly after it shows: capture until two pictures in a row agree.
screenshots=$root/build/screenshots
mkdir -p "$screenshots"
shot=$screenshots/run.png
previous=""
for _ in $(seq 50); do
    xwd -silent -id "$window" | convert xwd:- "$shot.tmp.png"
    current=$(md5sum <"$shot.tmp.png")
    [ "$current" = "$previous" ] && break
    previous=$current
    sleep 0.2
done
mv "$shot.tmp.png" "$shot"
echo "Quorvane.exe ran on the virtual display $DISPLAY; its main window is in $shot"
