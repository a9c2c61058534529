#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the whole suite, the engine
# under AddressSanitizer and UBSan, and the file fuzzer for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh test
jobs=$(nproc)

cmake --preset dev
cmake --build build/dev -j"$jobs"
ctest --preset dev -j"$jobs" --timeout 600

cmake --preset asan
cmake --build build/asan -j"$jobs"
ctest --preset asan -j"$jobs" --timeout 900

if [ -f tests/fuzz/CMakeLists.txt ]; then
    cmake --preset fuzz
    cmake --build build/fuzz -j"$jobs" --target open_file_fuzzer
    mkdir -p build/fuzz/corpus
    cp tests/fixtures/access/*.mdb build/fuzz/corpus/
    cp tests/fixtures/*.mdb build/fuzz/corpus/ 2>/dev/null || true
    build/fuzz/tests/fuzz/open_file_fuzzer -max_total_time="${KELVORA_FUZZ_SECONDS:-60}" \
        -max_len=1048576 -rss_limit_mb=2048 -print_final_stats=1 build/fuzz/corpus
fi
echo "all tests passed"
