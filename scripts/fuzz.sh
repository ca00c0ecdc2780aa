#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang and runs each for SECONDS on one core
# (niced), then prints its executions, the time it ran and what it found. An input that makes
# a target fail is kept in tests/fuzz/corpus/<target>/ as crash-*, so that the ordinary suite
# replays it from then on.
#   scripts/fuzz.sh SECONDS [TARGET...]     (default: every target)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:?usage: scripts/fuzz.sh SECONDS [TARGET...]}
shift
[[ $seconds =~ ^[1-9][0-9]*$ ]] || { echo "fuzz.sh: SECONDS must be a whole number above 0" >&2; exit 2; }

if [[ $(id -u) == 0 ]]; then
  bash "$top/scripts/setup.sh" clang libclang-rt-14-dev
fi
command -v clang++ >/dev/null || { echo "fuzz.sh: clang++ is missing (scripts/setup.sh clang libclang-rt-14-dev)" >&2; exit 2; }

build=${TALVORA_FUZZ_BUILD:-$top/build-fuzz}
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTALVORA_FUZZ=ON -DTALVORA_BUILD_TESTS=OFF -DTALVORA_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build "$build" --target talvora_fuzz_targets --parallel "${TALVORA_FUZZ_JOBS:-1}"

targets=("$@")
if ((${#targets[@]} == 0)); then
  for source in "$top"/tests/fuzz/*_fuzz.cpp; do
    name=$(basename "$source" _fuzz.cpp)
    targets+=("$name")
  done
fi

status=0
for name in "${targets[@]}"; do
  seeds=$top/tests/fuzz/corpus/$name
  work=$build/corpus/$name  # what the fuzzer learns stays out of the repository
  mkdir -p "$seeds" "$work"
  log=$build/$name.log
  started=$(date +%s.%N)
  set +e
  nice -n 10 "$build/fuzz/fuzz_$name" -max_total_time="$seconds" -print_final_stats=1 \
    -max_len=4096 -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$seeds/crash-" \
    "$work" "$seeds" >"$log" 2>&1
  result=$?
  set -e
  ended=$(date +%s.%N)
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  crashes=$(grep -c '^==[0-9]*==ERROR\|^SUMMARY: \|deadly signal' "$log" || true)
  printf '%-16s %12s executions in %6.1f s, exit %d, sanitizer/crash reports %d (log %s)\n' \
    "$name" "${runs:-?}" "$(awk -v a="$started" -v b="$ended" 'BEGIN { print b - a }')" "$result" "$crashes" "$log"
  ((result == 0)) || status=1
done
exit $status
