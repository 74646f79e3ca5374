#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and AddressSanitizer and runs each for a bounded
# time (FUZZ_SECONDS, 60 by default). Fails on any crash, leak or sanitizer report; the
# failing input is left in build/fuzzing/artifacts. Inputs worth keeping go to tests/fuzz-corpus.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${FUZZ_SECONDS:-60}
out=$root/build/fuzzing
cd "$root"

cmake -S . -B "$out" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCHIMEWELL_FUZZ=ON \
      -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
cmake --build "$out" -j"$(nproc)" --target fuzz_loadpack fuzz_applypack >/dev/null

runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
export XDG_RUNTIME_DIR=$runtime QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$root/fuzz/lsan.supp:print_suppressions=0
mkdir -p "$out/artifacts"

for target in loadpack applypack; do
    work=$out/corpus-$target
    mkdir -p "$work"
    cp -n "$root"/tests/fuzz-corpus/$target/* "$work"/ 2>/dev/null || true
    [ $target = applypack ] && cp -n "$root"/packs/*.txt "$work"/
    echo "Fuzzing $target for ${seconds}s"
    "$out/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
        -print_final_stats=1 -artifact_prefix="$out/artifacts/$target-" "$work" 2>"$out/$target.log" ||
        { tail -60 "$out/$target.log"; echo "fuzz_$target failed"; exit 1; }
    grep -E '^stat::number_of_executed_units|^#[0-9]+ *DONE' "$out/$target.log" | tail -2
done
