#!/bin/sh
# Saves a picture of every page of the main window, of each help window and of the start-up
# window into this folder, from the window tests on Qt's offscreen platform.
# Usage: docs/screenshots/update.sh [build folder]   (default: build-ui)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../.." && pwd)
build=${1:-$top/build-ui}
cmake --build "$build" --target talvora_ui_tests
# The windows open their port on the simulated line; no real device is touched.
TALVORA_SCREENSHOT_DIR="$here" QT_QPA_PLATFORM=offscreen \
  "$build/tests/talvora_ui_tests" --gtest_filter='Screenshots.*'
ls "$here"/*.png
