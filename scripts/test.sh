#!/usr/bin/env bash
# The whole test run: installs what is missing, then the native unit tests, the same under
# AddressSanitizer + UndefinedBehaviorSanitizer and under ThreadSanitizer, the mingw build of
# Quorvane.exe and the end-to-end tests under Wine. Ends with "<N> passed, <M> failed" over every
# ctest test and end-to-end check; the exit status is non-zero when anything failed.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
logs=$root/build/test-logs
mkdir -p "$logs"

passed=0
failed=0
report=()

count() {
    passed=$((passed + $1))
    failed=$((failed + $2))
    report+=("$(printf '%-28s %s passed, %s failed%s' "$3" "$1" "$2" "${4:+  ($4)}")")
}

# Runs a step whose only result is success or failure (installing, building).
step() {
    local name=$1
    shift
    echo "== $name"
    if "$@" >"$logs/$name.log" 2>&1; then
        return 0
    fi
    tail -40 "$logs/$name.log"
    count 0 1 "$name" "see build/test-logs/$name.log"
    return 1
}

# Builds a preset and runs its ctest tests, counted one by one.
unit_tests() {
    local preset=$1 output total failures
    shift
    step "configure-$preset" cmake --preset "$preset" || return 0
    step "build-$preset" cmake --build --preset "$preset" -j2 || return 0
    echo "== ctest $preset"
    output=$logs/ctest-$preset.log
    ctest --preset "$preset" -j2 --timeout 300 "$@" >"$output" 2>&1 || true
    grep -E '(Failed|\*\*\*|Timeout|Exception)' "$output" | head -40 || true
    total=$(sed -nE 's/.*tests passed, ([0-9]+) tests failed out of ([0-9]+).*/\2/p' "$output" | tail -1)
    failures=$(sed -nE 's/.*tests passed, ([0-9]+) tests failed out of ([0-9]+).*/\1/p' "$output" | tail -1)
    if [ -z "$total" ]; then
        tail -20 "$output"
        count 0 1 "ctest-$preset" "no test summary; see build/test-logs/ctest-$preset.log"
        return 0
    fi
    count $((total - failures)) "$failures" "ctest-$preset"
}

start=$SECONDS
step install-deps bash scripts/install-deps.sh || true
unit_tests native
# After the native build: the check links that build's layer libraries.
if step layer-check python3 scripts/check-layers.py "$root" --build "$root/build/native"; then
    count 1 0 layer-check
fi
unit_tests native-asan
unit_tests native-tsan
if step configure-mingw cmake --preset mingw && step build-mingw cmake --build --preset mingw -j2; then
    echo "== end-to-end tests"
    e2e_log=$logs/e2e.log
    bash scripts/e2e.sh "$root/build/mingw" 2>&1 | tee "$e2e_log" | grep -vE '^PASS ' || true
    summary=$(grep -E '^[0-9]+ passed, [0-9]+ failed$' "$e2e_log" | tail -1 || true)
    if [ -n "$summary" ]; then
        count "$(cut -d' ' -f1 <<<"$summary")" "$(cut -d' ' -f3 <<<"$summary")" e2e
    else
        count 0 1 e2e "no summary; see build/test-logs/e2e.log"
    fi
fi

echo "== summary ($((SECONDS - start)) s)"
printf '%s\n' "${report[@]}"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
