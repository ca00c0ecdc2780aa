#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

// Every test program runs with a Qt application on the offscreen platform, so that widgets,
// timers and the event loop behave as in the program without a display.
int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
