#!/usr/bin/env bash
# Sets up, builds and runs the benchmarks; prints the figures, one per line.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/scripts/setup.sh"
bash "$top/scripts/build.sh" build
export QT_QPA_PLATFORM=offscreen
"$top/build/bench/talvora-bench"
