#!/usr/bin/env bash
# Builds a Win32 benchmark of bench/wine/ with mingw and runs it under Wine on a private Xvfb with
# a private Wine prefix; prints its figures.
#   usage: bench/wine_bench.sh get_values|delay|typing [build folder, default build/mingw]
#   get_values: GetValues on 10 and 10,000 steps, main and second thread, ratios
#   delay:      the measured length of 10 s and 1 s Delay steps
#   typing:     characters per second SendKeys delivers into the target program's edit
# The build folder is configured with the mingw toolchain if it is not configured yet.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
name=${1:?usage: bench/wine_bench.sh get_values|delay|typing [build folder]}
build=${2:-$root/build/mingw}
source "$root/scripts/lib/wine-session.sh"

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DQUORVANE_PLATFORM=win32 >/dev/null
fi
cmake --build "$build" --target "${name}_wine_bench" Target -j2 >/dev/null
build=$(cd "$build" && pwd)
bench=$build/bench/wine/${name}_wine_bench.exe
arguments=()
if [ "$name" = typing ]; then
    target=$build/tests/e2e/Target.exe
    arguments=("Z:${target//\//\\}")
fi

export WINEPREFIX=$build/wineprefix-bench
trap session_stop EXIT
session_start_xvfb
session_start_wineserver
session_prepare_prefix N

echo "$name benchmark under Wine ($bench)"
timeout --kill-after=10 600 "$(session_wine_binary)" "$bench" "${arguments[@]}" 2>&1 | tr -d '\r'
