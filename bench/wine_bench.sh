#!/usr/bin/env bash
# Builds a Win32 benchmark of bench/wine/ with mingw and runs it under Wine on a private Xvfb with
# a private Wine prefix; prints its figures.
#   usage: bench/wine_bench.sh NAME [build folder, default build/mingw] [benchmark options]
#   get_values: GetValues on 10 and 10,000 steps, main and second thread, ratios
#   delay:      the measured length of 10 s and 1 s Delay steps
#   typing:     characters per second SendKeys delivers into the target program's edit
#   escape:     time from a real Escape press to the end of a run, during Delays and waits
#               (--program=<Windows path of another Quorvane.exe> measures that one)
#   line_info:  the text editor window's line information on a 10,000-line and a 10-line text
#   long_text:  a real Escape 1 s into a run typing 100,000 characters: how soon the run ends and
#               the characters stop, and whether a modifier is left down
#   wait:       how soon Wait steps see a window, the window in front, a pixel and a device's
#               answer (--answer); time-out accuracy and CPU while waiting
#   window:     how soon the target program's window is in front, moved, sized, minimised,
#               maximised, restored and closed; how long each call takes while it hangs
#   pictures:   PNG and BMP files through the Windows Imaging Component; the capture time of the
#               whole screen and of one look for a picture (capture and search); how soon a Wait
#               for a picture sees it appear; Quorvane.exe's CPU while it waits for one 10 s
# The build folder is configured with the mingw toolchain if it is not configured yet.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
name=${1:?usage: bench/wine_bench.sh NAME [build folder] [benchmark options]}
build=${2:-$root/build/mingw}
options=("${@:3}")
source "$root/scripts/lib/wine-session.sh"

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DQUORVANE_PLATFORM=win32 >/dev/null
fi
cmake --build "$build" --target "${name}_wine_bench" Target Quorvane -j2 >/dev/null
build=$(cd "$build" && pwd)
bench=$build/bench/wine/${name}_wine_bench.exe
arguments=()
if [ "$name" = typing ] || [ "$name" = wait ] || [ "$name" = window ]; then
    target=$build/tests/e2e/Target.exe
    arguments=("Z:${target//\//\\}")
elif [ "$name" = escape ] || [ "$name" = pictures ]; then
    arguments=("--program=$(session_windows_path "$build/Quorvane.exe")")
elif [ "$name" = long_text ]; then
    target=$build/tests/e2e/Target.exe
    arguments=("--program=$(session_windows_path "$build/Quorvane.exe")" "Z:${target//\//\\}")
fi

export WINEPREFIX=$build/wineprefix-bench
trap session_stop EXIT
session_start_xvfb
session_load_us_keymap
session_start_wineserver
session_prepare_prefix N

echo "$name benchmark under Wine ($bench)"
timeout --kill-after=10 600 "$(session_wine_binary)" "$bench" "${options[@]}" "${arguments[@]}" 2>&1 | tr -d '\r'
