#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a while (FUZZ_SECONDS, 60 by
# default) from its seed corpus in fuzz/corpus/. Fails when a target finds a crash; the
# input that crashed is left in build-fuzz/ as crash-*.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-60}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNWICK_FUZZ=ON
targets=(fuzz_conv fuzz_dialect fuzz_csv)
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]}"
for target in "${targets[@]}"; do
    corpus=$(mktemp -d)
    cp fuzz/corpus/"${target#fuzz_}"/* "$corpus"/
    echo "== $target for $seconds s"
    (cd build-fuzz && ASAN_OPTIONS=detect_leaks=0 ./bin/"$target" -max_total_time="$seconds" \
        -print_final_stats=1 "$corpus" 2>&1 | grep -E "^(Done|stat::number_of_executed_units|==|SUMMARY)" ) \
        || { echo "$target failed" >&2; rm -rf "$corpus"; exit 1; }
    rm -rf "$corpus"
done
