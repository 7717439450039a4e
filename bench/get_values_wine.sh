#!/usr/bin/env bash
# Builds the Win32 GetValues benchmark with mingw and runs it under Wine on a private Xvfb with a
# private Wine prefix; prints its figures (10 and 10,000 steps, main and second thread, ratios).
#   usage: bench/get_values_wine.sh [build folder, default build/mingw]
# The build folder is configured with the mingw toolchain if it is not configured yet.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build/mingw}
source "$root/scripts/lib/wine-session.sh"

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DQUORVANE_PLATFORM=win32 >/dev/null
fi
cmake --build "$build" --target get_values_wine_bench -j2 >/dev/null
build=$(cd "$build" && pwd)
bench=$build/bench/wine/get_values_wine_bench.exe

export WINEPREFIX=$build/wineprefix-bench
trap session_stop EXIT
session_start_xvfb
session_start_wineserver
session_prepare_prefix N

echo "GetValues benchmark under Wine ($bench)"
timeout --kill-after=10 600 "$(session_wine_binary)" "$bench" 2>&1 | tr -d '\r'
