#!/usr/bin/env bash
# Idle CPU of Quorvane.exe under Wine: starts it on a private Xvfb, waits for the main window, and
# measures the CPU time (user + system, from /proc/<pid>/stat) that each Wine process of the
# private prefix uses over 10 s of idling, as a percentage of one core. Three figures: the
# process of Quorvane.exe itself (target: below 1 %), the wineserver (which does the work of its
# window messages and timers) and Wine's other processes (explorer, services, device helpers;
# one that starts during the measurement counts whole there).
#   usage: bench/idle_cpu.sh [path to Quorvane.exe, default build/mingw/Quorvane.exe]
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
program=$(realpath "${1:-$root/build/mingw/Quorvane.exe}")
idle_seconds=10
source "$root/scripts/lib/wine-session.sh"

WINEPREFIX=$(dirname "$program")/wineprefix-bench
export WINEPREFIX
trap session_stop EXIT
trap 'exit 130' INT TERM HUP

[ -f "$program" ] || { echo "idle_cpu: $program not found; build the mingw preset" >&2; exit 1; }
session_start_xvfb
session_start_wineserver
session_prepare_prefix N
session_start_program /dev/null "$program"

main_window_shows() { [ -n "$(xdotool search --name '^Quorvane$' 2>/dev/null | head -1)" ]; }
if ! session_wait_for 60 main_window_shows; then
    echo "idle_cpu: the Quorvane window did not show within 60 s" >&2
    exit 1
fi

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
ticks_by_process >"$WINEPREFIX/ticks-before"
start_ns=$(date +%s%N)
sleep "$idle_seconds"
ticks_by_process >"$WINEPREFIX/ticks-after"
elapsed_ms=$((($(date +%s%N) - start_ns) / 1000000))

# One line per process, then the three figures; the exit status says whether Quorvane.exe's own
# CPU stays below 1 % of one core.
status=0
awk -v hz="$(getconf CLK_TCK)" -v elapsed="$elapsed_ms" -v program="$session_program_pid" \
    -v server="$session_wineserver_pid" '
    function figure(name, ms) {
        printf "  %-24s %6d ms = %5.2f%% of one core\n", name, ms, 100 * ms / elapsed
    }
    NR == FNR { before[$1] = $2; next }
    {
        started = !($1 in before)
        used = ($2 - (started ? 0 : before[$1])) * 1000 / hz
        pid = $1; $1 = $2 = ""; sub(/^ +/, "")
        printf "  %6d ms  pid %-7s %s%s\n", used, pid, $0, started ? "  (started meanwhile)" : ""
        if (pid == program) own += used
        else if (pid == server) wineserver += used
        else { helpers += used; helpers_started += started }
    }
    END {
        printf "idle CPU under Wine over %d ms:\n", elapsed
        figure("Quorvane.exe", own)
        figure("wineserver", wineserver)
        figure("other Wine processes", helpers)
        if (helpers_started)
            printf "  (%d of them started during the measurement)\n", helpers_started
        percent = 100 * own / elapsed
        printf "Quorvane.exe itself: %.2f%% of one core (target < 1%%)\n", percent
        exit !(percent < 1)
    }' "$WINEPREFIX/ticks-before" "$WINEPREFIX/ticks-after" || status=$?
rm -f "$WINEPREFIX"/ticks-*
exit "$status"
