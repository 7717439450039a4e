#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer + UndefinedBehaviorSanitizer) and runs
# each for a set time, printing executions and coverage.
#
#   scripts/fuzz.sh [seconds per target, default 60] [build folder, default build/fuzz]
#
# The targets are the fuzz/*_fuzz.cpp files: the step file reader, the step text check, the
# key-text reader and the Wait step's value readers. Each first runs once over a few large
# generated inputs (a 10 MB line, 100,000 fields, numbers beyond 64 bits, every kind of line end,
# 50,000 junk lines, a million unclosed braces), kept out of the repository, then fuzzes from the
# committed seeds in fuzz/corpus/<target>/ with inputs of up to MAX_LEN bytes (default 1 MB: large
# inputs slow the search down without reaching new code).
set -euo pipefail

seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${2:-$root/build/fuzz}
max_len=${MAX_LEN:-1048576}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DQUORVANE_PLATFORM=headless \
  -DQUORVANE_TESTS=OFF -DQUORVANE_FUZZ=ON -DQUORVANE_SANITIZE=address,undefined >/dev/null
targets=()
for source in "$root"/fuzz/*_fuzz.cpp; do
  targets+=("$(basename "$source" .cpp)")
done
cmake --build "$build" -j2 --target "${targets[@]}"

generate_seeds() {
  local dir=$1 header=$'Quorvane 2.2\r\nuser  -  01.01.2026 00:00\r\ninfo\r\n'
  python3 - "$dir" "$header" <<'PY'
import sys
folder, header = sys.argv[1], sys.argv[2].encode()
seeds = {
    "long_line": header + b"7;" + b"x" * 10_000_000 + b";\r\n",
    "many_fields": header + b"5;COM1;Hex;" + b";".join(b"%d" % i for i in range(100_000)) + b"\r\n",
    "huge_numbers": header + b"1;L_Click;" + b"9" * 40 + b";-$" + b"F" * 30 + b";\r\n"
                    + b"3;" + b"9" * 400 + b"." + b"9" * 400 + b"e99999999999;\r\n"
                    + b"4;%" + b"1" * 100 + b";" + b"1" * 25 + b";\r\n",
    "line_ends": header + b"7;crlf;\r\n7;lf;\n7;cr;\r7;lfcr;\n\r7;end",
    "many_lines": header + b"x;\r\n" * 50_000,
    "open_braces": b"{" * 1_000_000 + b"}" + b"{" * 1_000_000,
}
for name, data in seeds.items():
    open(f"{folder}/{name}", "wb").write(data)
PY
}

for target in "${targets[@]}"; do
  large=$build/large/$target
  corpus=$build/corpus/$target
  mkdir -p "$large" "$corpus"
  generate_seeds "$large"
  cp "$root"/fuzz/corpus/$target/* "$corpus"/
  echo "== $target: large inputs"
  "$build"/fuzz/$target "$large"/* -rss_limit_mb=4096 -timeout=60 2>&1 | grep -E 'Executed|ERROR' || true
  echo "== $target for ${seconds}s"
  "$build"/fuzz/$target "$corpus" -max_total_time="$seconds" -max_len="$max_len" -rss_limit_mb=4096 \
    -timeout=30 -print_final_stats=1 >"$build/$target.log" 2>&1 || {
      tail -n 40 "$build/$target.log"; echo "$target FAILED"; exit 1; }
  grep -E '^#[0-9]+.*(DONE|pulse)' "$build/$target.log" | tail -n 1
  grep -E 'stat::number_of_executed_units|stat::peak_rss_mb' "$build/$target.log" || true
done
