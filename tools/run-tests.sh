#!/usr/bin/env bash
# Builds everything with clang under AddressSanitizer and UndefinedBehavior-
# Sanitizer, with the libFuzzer targets and the benchmarks (built so that
# they keep compiling, not run), and runs every test: unit tests, the
# peer-backed tests and a bounded run of each fuzz target.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/install-deps.sh"
build="$top/build/tests"
jobs=$(nproc)
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DZEMRA_SANITIZE=ON -DZEMRA_FUZZ=ON -DZEMRA_TESTS=ON -DZEMRA_BENCH=ON >/dev/null
cmake --build "$build" -j "$jobs"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:strict_string_checks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export ZEMRA_HEADLESS=1
# Every outside tool is installed above: a test that would skip for want of
# one (or of a working Xvfb) fails instead.
export ZEMRA_REQUIRE_TOOLS=1
cd "$build" && ctest -j "$jobs" --output-on-failure --timeout 600
