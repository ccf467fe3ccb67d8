#!/usr/bin/env bash
# Installs what is missing, builds Tarnwick with warnings as errors, checks the
# formatting, runs every test, then runs them all again under AddressSanitizer and
# UndefinedBehaviorSanitizer, and gives each fuzz target a minute.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=$(nproc)

echo "== formatting"
files=$(git ls-files '*.cpp' '*.h')
if ! clang-format --dry-run --Werror $files; then
    echo "formatting differs from .clang-format: run clang-format -i on the files above" >&2
    exit 1
fi

echo "== build and test"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNWICK_WERROR=ON
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

echo "== build and test with sanitizers"
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DTARNWICK_WERROR=ON -DTARNWICK_SANITIZE=ON
cmake --build build-sanitize -j"$jobs"
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    ctest --test-dir build-sanitize --output-on-failure -j"$jobs"

echo "== fuzzing"
scripts/fuzz.sh

