#!/usr/bin/env bash
# Sets up, builds and runs every test: once in a plain build, once under AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/scripts/setup.sh"
export QT_QPA_PLATFORM=offscreen
# Libraries that keep allocations for the life of the process (fontconfig, Qt plugins).
export LSAN_OPTIONS="suppressions=$top/tests/lsan.supp:print_suppressions=0"

bash "$top/scripts/build.sh" build
ctest --test-dir "$top/build" --output-on-failure --parallel 2

bash "$top/scripts/build.sh" build-asan -DTALVORA_SANITIZE=ON -DTALVORA_BUILD_BENCH=OFF
ctest --test-dir "$top/build-asan" --output-on-failure --parallel 2
