#!/usr/bin/env bash
# Idle CPU of Quorvane.exe under Wine: starts it on a private Xvfb, waits for the main window, and
# measures the CPU time (user + system, from /proc/<pid>/stat) that the Wine processes it started
# use over 10 s of idling, as a percentage of one core. Target: below 1 %.
#   usage: bench/idle_cpu.sh [path to Quorvane.exe, default build/mingw/Quorvane.exe]
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
program=$(realpath "${1:-$root/build/mingw/Quorvane.exe}")
idle_seconds=10
source "$root/scripts/lib/wine-session.sh"

WINEPREFIX=$(dirname "$program")/wineprefix-bench
export WINEPREFIX
program_pid=""
stop_all() {
    if [ -n "$program_pid" ]; then
        kill "$program_pid" 2>/dev/null || true
        wait "$program_pid" 2>/dev/null || true
    fi
    session_stop
}
trap stop_all EXIT
trap 'exit 130' INT TERM HUP

[ -f "$program" ] || { echo "idle_cpu: $program not found; build the mingw preset" >&2; exit 1; }
session_start_xvfb
session_start_wineserver
session_prepare_prefix N
session_wine "$program" >/dev/null 2>&1 &
program_pid=$!

main_window_shows() { [ -n "$(xdotool search --name '^Quorvane$' 2>/dev/null | head -1)" ]; }
if ! session_wait_for 60 main_window_shows; then
    echo "idle_cpu: the Quorvane window did not show within 60 s" >&2
    exit 1
fi

# Every process of the private prefix: the Windows process itself, the wineserver, which does the
# work of its window messages, and the helpers Wine started for it (explorer, services).
# "<pid> <CPU ticks> <command>" for each Wine process of the prefix.
ticks_by_process() {
    local pid fields
    for pid in $(session_prefix_pids); do
        if fields=$(cut -d')' -f2- "/proc/$pid/stat" 2>/dev/null); then
            read -r -a stat <<<"$fields"
            echo "$pid $((stat[11] + stat[12])) $(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | cut -c1-60)"
        fi
    done
}

# Measured after start-up work (fonts, first paints) is over.
sleep 2
hz=$(getconf CLK_TCK)
ticks_by_process >"$WINEPREFIX/ticks-before"
start_ns=$(date +%s%N)
sleep "$idle_seconds"
ticks_by_process >"$WINEPREFIX/ticks-after"
elapsed_ms=$((($(date +%s%N) - start_ns) / 1000000))
# Per process: CPU milliseconds used while idling (processes that started meanwhile count whole).
awk -v hz="$hz" 'NR == FNR { before[$1] = $2; next }
    { used = ($2 - before[$1]) * 1000 / hz; total += used; $2 = ""
      printf "  %6d ms  pid %s\n", used, $0 }
    END { print total > "/dev/stderr" }' "$WINEPREFIX/ticks-before" "$WINEPREFIX/ticks-after" \
    2>"$WINEPREFIX/ticks-total"
used_ms=$(cat "$WINEPREFIX/ticks-total")
percent=$(awk -v used="$used_ms" -v elapsed="$elapsed_ms" 'BEGIN { printf "%.2f", 100 * used / elapsed }')
echo "idle CPU of Quorvane.exe under Wine: ${used_ms} ms of CPU in ${elapsed_ms} ms = ${percent}% of one core (target < 1%)"
rm -f "$WINEPREFIX"/ticks-*
awk -v p="$percent" 'BEGIN { exit !(p < 1) }'
