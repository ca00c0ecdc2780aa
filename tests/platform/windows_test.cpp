// Windows by handle: texts set byte for byte, the Close command, the message box.

#include "platform/windows.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(WindowsTest, WindowTextsAreSetByteForByteUpToTheFirstZero) {
  std::string shown;
  const platform::HWND hwnd = platform::RegisterWindow([&](const std::string& t) { shown = t; });
  std::string all;
  for (int code = 1; code <= 255; ++code)
    all.push_back(static_cast<char>(code));
  EXPECT_EQ(platform::SetWindowTextA(hwnd, all.c_str()), 1);
  EXPECT_EQ(shown, all);
  EXPECT_EQ(platform::SetWindowTextA(hwnd, std::string("ab\0cd", 5).c_str()), 1);
  EXPECT_EQ(shown, "ab");
  EXPECT_EQ(platform::SetWindowTextA(0, "x"), 0) << "handle 0 changes nothing";
  platform::UnregisterWindow(hwnd);
  EXPECT_EQ(platform::SetWindowTextA(hwnd, "x"), 0);
  EXPECT_EQ(shown, "ab");
}

}  // namespace
