#!/usr/bin/env bash
# Sets up, builds and runs the benchmarks; prints the figures, one per line.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/scripts/setup.sh"
# The program as run.sh builds it, plus the benchmarks.
bash "$top/scripts/build.sh" build -DCMAKE_UNITY_BUILD=ON -DTALVORA_SANITIZE=OFF \
  -DTALVORA_BUILD_TESTS=OFF -DTALVORA_BUILD_BENCH=ON
export QT_QPA_PLATFORM=offscreen
"$top/build/bench/talvora-bench"
