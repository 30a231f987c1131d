#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang and the address and
# undefined-behaviour sanitizers, then runs them.
#   tools/fuzz.sh                  every target over its seeds and a few thousand inputs
#   tools/fuzz.sh TARGET SECONDS   one target (fuzz_photo, ...) for as long as said
# New inputs that reach new code go to build/fuzz/found/TARGET; a crashing
# input is saved in the current folder as crash-... and the script fails.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/tools/packages.sh"

install_missing clang libclang-rt-14-dev
build="$root/build/fuzz"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUORVEL_SANITIZE=ON -DQUORVEL_FUZZ=ON -DQUORVEL_TESTS=OFF -DQUORVEL_BENCH=OFF >/dev/null \
    || fail "cmake configuration failed"
cmake --build "$build" --target fuzzers --parallel "$(nproc 2>/dev/null || echo 2)" || fail "build failed"

export ASAN_OPTIONS=detect_leaks=0
export UBSAN_OPTIONS=print_stacktrace=1
run() {
    local target="$1"
    shift
    mkdir -p "$build/found/$target"
    "$build/fuzz/$target" -rss_limit_mb=2048 -timeout=10 "$@" "$build/found/$target" "$root/fuzz/corpus/$target"
}

if [ $# -eq 2 ]; then
    run "$1" -max_total_time="$2" -print_final_stats=1 || fail "$1 found a fault (see the crash- file it wrote)"
else
    for target in $(cd "$root/fuzz/corpus" && ls); do
        log="$build/$target.log"
        if run "$target" -runs=3000 >"$log" 2>&1; then
            echo "fuzz: $target: $(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$log")"
        else
            tail -n 40 "$log" >&2
            fail "$target found a fault (see the crash- file it wrote)"
        fi
    done
fi
