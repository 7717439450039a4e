#!/usr/bin/env bash
# Runs every end-to-end test program (tests/e2e/*_e2e.exe of the mingw build) under Wine, on a
# private Xvfb unless there is a display to use and CI is not set, with a private Wine prefix in
# the build folder. Programs named dpi120_* run with the screen at 120 pixels per inch, the others
# at 96. Prints each program's checks, then "<N> passed, <M> failed" over all of them.
#   usage: scripts/e2e.sh [build folder, default build/mingw] [test names, default all]
# Screenshots go to build/screenshots/ (QUORVANE_SCREENSHOTS overrides; docs/images holds the
# README's). A test program that runs longer than QUORVANE_E2E_TIMEOUT seconds (300) is ended.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-$root/build/mingw}" && pwd)
screenshots=${QUORVANE_SCREENSHOTS:-$root/build/screenshots}
program=$build/Quorvane.exe
source "$root/scripts/lib/wine-session.sh"

time_limit=${QUORVANE_E2E_TIMEOUT:-300}
export WINEPREFIX=$build/wineprefix
run_folder=""

# Stops what a test left running on the Unix side (socat of a serial line it had no time to
# close) by the PIDs its driver wrote into *.pid files of the test's run folder, then removes the
# folder. A PID counts only while its process's command line still names the folder.
stop_run_folder() {
    local pid_file pid
    for pid_file in "$run_folder"/*.pid "$run_folder"/*/*.pid; do
        pid=$(cat "$pid_file" 2>/dev/null) || continue
        if [[ $pid =~ ^[0-9]+$ ]] &&
            tr '\0' ' ' 2>/dev/null <"/proc/$pid/cmdline" | grep -qF "$run_folder"; then
            echo "e2e: stopping PID $pid left running (${pid_file#"$run_folder"/})" >&2
            kill "$pid" 2>/dev/null || true
            session_wait_for 10 session_gone "$pid" || kill -KILL "$pid" 2>/dev/null || true
        fi
    done
    rm -rf "$run_folder"
    run_folder=""
}

stop_all() {
    [ -z "$run_folder" ] || stop_run_folder
    session_stop
}
trap stop_all EXIT
trap 'exit 130' INT TERM HUP

shopt -s nullglob
all_tests=("$build"/tests/e2e/*_e2e.exe)
if [ "$#" -gt 1 ]; then
    all_tests=()
    for name in "${@:2}"; do
        all_tests+=("$build/tests/e2e/${name%.exe}.exe")
    done
fi
tests_at_96=()
tests_at_120=()
for test in "${all_tests[@]}"; do
    case $(basename "$test") in
        dpi120_*) tests_at_120+=("$test") ;;
        *) tests_at_96+=("$test") ;;
    esac
done
if [ ! -f "$program" ] || [ "${#all_tests[@]}" -eq 0 ] || ! ls "${all_tests[@]}" >/dev/null 2>&1; then
    echo "e2e: $program or the test programs are missing; build the mingw preset first" >&2
    echo "0 passed, 1 failed"
    exit 1
fi

passed=0
failed=0
summaries=()

# Runs one test program and adds its "N passed, N failed" line to the totals; a program that
# ends without that line counts as one failure.
run_test() {
    local test=$1 name output status summary
    name=$(basename "$test" .exe)
    echo "== $name"
    output=$(mktemp)
    run_folder=$(mktemp -d /tmp/quorvane-e2e-run.XXXXXX)
    status=0
    # Into a file, not a pipe: Wine's background services inherit the descriptors and would
    # hold a pipe open after the test ends.
    QUORVANE_E2E_RUN_FOLDER=$run_folder timeout --kill-after=10 "$time_limit" \
        "$(session_wine_binary)" "$test" \
        "--program=$(session_windows_path "$program")" \
        "--screenshots=$(session_windows_path "$screenshots")" >"$output" 2>&1 || status=$?
    stop_run_folder
    tr -d '\r' <"$output"
    summary=$(tr -d '\r' <"$output" | grep -E '^[0-9]+ passed, [0-9]+ failed$' | tail -1 || true)
    rm -f "$output"
    if [ -z "$summary" ]; then
        summary="0 passed, 1 failed"
        echo "FAIL $name: ended (status $status) without a summary"
    fi
    passed=$((passed + $(cut -d' ' -f1 <<<"$summary")))
    failed=$((failed + $(cut -d' ' -f3 <<<"$summary")))
    summaries+=("$name: $summary")
}

mkdir -p "$screenshots"
if [ -n "${CI:-}" ] || [ -z "${DISPLAY:-}" ]; then
    session_start_xvfb
    session_load_us_keymap
else
    echo "e2e: using the display $DISPLAY" >&2
fi

# Wine reads the screen DPI when its server starts, so the server starts afresh after the setting
# (the prefix keeps the last run's DPI, 120 after the dpi120 tests).
start_wineserver_at_dpi() {
    session_set_dpi "$1"
    session_stop_wineserver
    session_start_wineserver
}

session_start_wineserver
session_prepare_prefix N
# The test programs' scratch folders from earlier runs in this prefix, which is the script's own.
rm -rf "$WINEPREFIX"/drive_c/users/*/Temp/quorvane-e2e-*
start_wineserver_at_dpi 96
for test in "${tests_at_96[@]}"; do
    run_test "$test"
done

if [ "${#tests_at_120[@]}" -gt 0 ]; then
    start_wineserver_at_dpi 120
    for test in "${tests_at_120[@]}"; do
        run_test "$test"
    done
fi

for shot in "$screenshots"/*.bmp; do
    if convert "$shot" "${shot%.bmp}.png"; then
        rm -f "$shot"
        echo "screenshot: ${shot%.bmp}.png"
    fi
done

echo "== end-to-end summary"
printf '%s\n' "${summaries[@]}"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
