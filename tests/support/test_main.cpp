#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "support/leak_suppressions.h"
#include "support/stub_detector.h"

// The sanitizers' settings, built into every test program so that they hold however it is run
// (ctest, test.sh, by hand, or started again by a test as its child). Unused without them.
extern "C" {
// NOLINTBEGIN(bugprone-reserved-identifier,readability-identifier-naming)
const char* __asan_default_options() {
  return "detect_leaks=1";
}
const char* __ubsan_default_options() {
  return "print_stacktrace=1:halt_on_error=1";
}
const char* __lsan_default_suppressions() {
  return kLeakSuppressions;
}
// NOLINTEND(bugprone-reserved-identifier,readability-identifier-naming)
}

// Every test program runs with a Qt application on the offscreen platform, so that widgets,
// timers and the event loop behave as in the program without a display. No test reads the
// user's settings file, records or this machine's serial devices: settings and records live in
// fresh folders, and detection finds nothing unless a test installs devices of its own.
int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ::testing::InitGoogleTest(&argc, argv);
  // A test program started with a command's arguments (a station in a test starts its own
  // program once per port) would run the whole suite again, and that again: refuse instead.
  if (argc > 1) {
    std::fprintf(stderr, "%s: a test program takes only test options, not '%s'\n", argv[0],
                 argv[1]);
    return 2;
  }
  QApplication app(argc, argv);
  const QTemporaryDir config;
  setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
  const QTemporaryDir data;
  setenv("XDG_DATA_HOME", data.path().toLocal8Bit().constData(), 1);
  ports::UseDetector(std::make_shared<testsupport::StubDetector>());
  return RUN_ALL_TESTS();
}
