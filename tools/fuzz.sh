#!/usr/bin/env bash
# Builds the libFuzzer targets of the portable core (clang, ASan and UBSan) and runs each for a
# bounded time, as many at once as the machine has cores; prints every target's execution
# count and exits non-zero when any target found a crash or a failed property.
# Usage: tools/fuzz.sh [SECONDS_PER_TARGET (default 30)] [TARGET...]
#        tools/fuzz.sh --save   copies every finding into tests/fuzz_regressions/<target>/, where
#                               the native tests replay it (fuzz_replay_test); commit it with
#                               the fix
# Everything else it writes stays under build/fuzz: the grown corpora (corpus/), the inputs of
# findings (findings/) and the logs (logs/). Installs nothing: tools/setup.sh does.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = --save ]; then
    saved=0
    for finding in build/fuzz/findings/*/*; do
        [ -f "$finding" ] || continue
        target=$(basename "$(dirname "$finding")")
        cp "$finding" "tests/fuzz_regressions/$target/"
        echo "saved tests/fuzz_regressions/$target/$(basename "$finding")"
        saved=$((saved + 1))
    done
    echo "fuzz: $saved findings saved"
    exit 0
fi

seconds="${1:-30}"
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(ini_fuzz number_fuzz args_fuzz basedir_fuzz encoding_fuzz)
case "$seconds" in
'' | *[!0-9]* | 0)
    echo "usage: tools/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]" >&2
    exit 2
    ;;
esac

for tool in cmake clang clang++; do
    command -v "$tool" >/dev/null || {
        echo "tools/fuzz.sh: $tool is missing (tools/setup.sh installs it)" >&2
        exit 2
    }
done
if ! echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, unsigned long) { return 0; }' |
    clang++ -x c++ -fsanitize=fuzzer,address,undefined - -o /dev/null 2>/dev/null; then
    echo "tools/fuzz.sh: clang cannot link a fuzz target (Debian: libclang-rt-14-dev)" >&2
    exit 2
fi

build=build/fuzz
cmake --preset fuzz >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target "${targets[@]}"

# A small quarantine: the checks allocate on every execution, and the default 256 MB of
# freed-but-poisoned memory only adds page faults. The caller's own settings win.
export ASAN_OPTIONS="${ASAN_OPTIONS:-quarantine_size_mb=16}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}"

run_target() {
    local target="$1"
    local corpus="$build/corpus/$target" findings="$build/findings/$target"
    mkdir -p "$corpus" "$findings" "$build/logs"
    local options=(-max_total_time="$seconds" -print_final_stats=1 -timeout=10
        -artifact_prefix="$findings/")
    case "$target" in
    ini_fuzz) options+=(-dict=fuzz/ini.dict -max_len=1024) ;;
    esac
    # New inputs go to the first directory only; the seeds and saved findings are read.
    local inputs=("$corpus" "fuzz/corpus/$target")
    [ -d "tests/fuzz_regressions/$target" ] && inputs+=("tests/fuzz_regressions/$target")
    local status=0
    "$build/fuzz/$target" "${options[@]}" "${inputs[@]}" >"$build/logs/$target.log" 2>&1 ||
        status=$?
    echo "$status" >"$build/logs/$target.status"
}

mkdir -p "$build/logs"
started="$build/logs/started"
touch "$started"
jobs_at_once=$(nproc)
for target in "${targets[@]}"; do
    while [ "$(jobs -rp | wc -l)" -ge "$jobs_at_once" ]; do
        wait -n || true
    done
    rm -f "$build/logs/$target.status"
    run_target "$target" &
done
wait

failures=0
for target in "${targets[@]}"; do
    status=$(cat "$build/logs/$target.status" 2>/dev/null || echo "no status")
    log="$build/logs/$target.log"
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    if [ "$status" = 0 ]; then
        echo "$target: ${runs:-?} executions in $seconds s, no finding"
    else
        failures=$((failures + 1))
        echo "$target: FINDING after ${runs:-?} executions (exit status $status), see $log"
        grep -E '^(ini|number|args|basedir|encoding( \([^)]*\))?): |^SUMMARY|^==[0-9]+==ERROR' "$log" | head -n 5 | sed 's/^/    /'
        find "$build/findings/$target" -type f -newer "$started" | sed 's|^|    input: |'
    fi
done
[ "$failures" -eq 0 ] || echo "to replay the findings in every test run: tools/fuzz.sh --save"
echo "fuzz: $((${#targets[@]} - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
