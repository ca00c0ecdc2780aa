#!/usr/bin/env bash
# Sets up, builds and runs every test: once in a plain build, once under AddressSanitizer and
# UndefinedBehaviorSanitizer. Each has a build tree of its own (build-test, build-asan), apart
# from run.sh's `build`, and ctest fails when it finds no test to run.
#
# The plain tree compiles the program's code as run.sh does (-O2, so that a warning that only the
# optimiser finds still fails the build) and the test programs unoptimised. The sanitizer tree
# compiles everything unoptimised and builds only the test programs and what they run. The plain
# tests run while the sanitizer tree builds, so that both cores stay busy.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/scripts/setup.sh"
export QT_QPA_PLATFORM=offscreen

jobs=$(nproc)
now() { date +%s.%N; }
seconds() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.0f", b - a }'; }

start=$(now)
cmake -S "$top" -B "$top/build-test" -G Ninja -DCMAKE_UNITY_BUILD=ON \
  -DTALVORA_SANITIZE=OFF -DTALVORA_BUILD_TESTS=ON -DTALVORA_BUILD_BENCH=ON \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DTALVORA_TEST_CXX_FLAGS="-O0 -DNDEBUG"
cmake -S "$top" -B "$top/build-asan" -G Ninja -DCMAKE_UNITY_BUILD=ON \
  -DTALVORA_SANITIZE=ON -DTALVORA_BUILD_TESTS=ON -DTALVORA_BUILD_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O0 -g1" -DTALVORA_TEST_CXX_FLAGS=

cmake --build "$top/build-test" --parallel "$jobs"
plain_built=$(now)

# run_tests <tree>: the whole suite of one tree, its output also kept in <tree>/ctest.log.
run_tests() {
  ctest --test-dir "$top/$1" --output-on-failure --no-tests=error --parallel $((2 * jobs)) \
    >"$top/$1/ctest.log" 2>&1
}

run_tests build-test &
plain_tests=$!
asan_build_status=0
cmake --build "$top/build-asan" --parallel "$jobs" --target talvora_tests ||
  asan_build_status=$?
asan_built=$(now)
plain_status=0
wait "$plain_tests" || plain_status=$?
cat "$top/build-test/ctest.log"
((asan_build_status == 0)) || exit "$asan_build_status"

asan_status=0
run_tests build-asan || asan_status=$?
finished=$(now)
cat "$top/build-asan/ctest.log"

# tally <tree>: "passed failed" from ctest's summary; a run without one counts as one failure.
tally() {
  sed -n 's/.*tests passed, \([0-9]*\) tests\{0,1\} failed out of \([0-9]*\).*/\1 \2/p' \
    "$top/$1/ctest.log" | awk '{ print $2 - $1, $1; found = 1 } END { if (!found) print 0, 1 }'
}
# test_time <tree>: ctest's own wall time of the run, in seconds.
test_time() {
  sed -n 's/^Total Test time (real) = *\([0-9.]*\) sec.*/\1/p' "$top/$1/ctest.log" |
    awk '{ printf "%.0f", $1; found = 1 } END { if (!found) printf "?" }'
}
read -r plain_passed plain_failed < <(tally build-test)
read -r asan_passed asan_failed < <(tally build-asan)

echo
echo "build time: plain $(seconds "$start" "$plain_built") s, then sanitizer $(seconds "$plain_built" "$asan_built") s"
echo "test time:  plain $(test_time build-test) s (while the sanitizer tree built), sanitizer $(test_time build-asan) s"
echo "total:      $(seconds "$start" "$finished") s from configuring to the last test"
echo "tests: $((plain_passed + asan_passed)) passed, $((plain_failed + asan_failed)) failed"
((plain_status == 0 && asan_status == 0))
