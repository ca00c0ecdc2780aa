#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>

#include "support/stub_detector.h"

// Every test program runs with a Qt application on the offscreen platform, so that widgets,
// timers and the event loop behave as in the program without a display. No test reads the
// user's settings file or this machine's serial devices: the settings live in a fresh folder,
// and detection finds nothing unless a test installs devices of its own.
int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  const QTemporaryDir config;
  setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
  ports::UseDetector(std::make_shared<testsupport::StubDetector>());
  return RUN_ALL_TESTS();
}
