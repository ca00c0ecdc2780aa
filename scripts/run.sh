#!/usr/bin/env bash
# Sets up, builds and starts TALVORA. COM1 is the built-in simulated radio system unless
# TALVORA_COM1 says otherwise (see README.md for mapping COM1 to COM4 to real devices).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/scripts/setup.sh"
# `build` holds the program only; test.sh has trees of its own.
bash "$top/scripts/build.sh" build -DCMAKE_UNITY_BUILD=ON -DTALVORA_SANITIZE=OFF \
  -DTALVORA_BUILD_TESTS=OFF -DTALVORA_BUILD_BENCH=OFF
export TALVORA_COM1=${TALVORA_COM1:-sim}
program="$top/build/src/ui/talvora"
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
  echo "No display found: starting TALVORA on a virtual X display (xvfb-run); Ctrl+C ends it."
  exec xvfb-run -a "$program"
fi
exec "$program"
