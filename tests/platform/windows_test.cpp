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

TEST(WindowsTest, TheCloseCommandIsWithheldAndGivenBackByPosition) {
  const platform::HWND hwnd = platform::RegisterWindow({});
  const platform::HMENU menu = platform::GetSystemMenu(hwnd, 0);
  ASSERT_NE(menu, 0);
  EXPECT_TRUE(platform::IsCloseCommandEnabled(hwnd));
  EXPECT_EQ(platform::EnableMenuItem(menu, 6, 0x0403), 0);
  EXPECT_FALSE(platform::IsCloseCommandEnabled(hwnd));
  EXPECT_EQ(platform::EnableMenuItem(menu, 6, 0x0403), 1) << "was greyed";
  EXPECT_EQ(platform::EnableMenuItem(menu, 5, 0x0400), -1) << "only Close is modelled";
  EXPECT_FALSE(platform::IsCloseCommandEnabled(hwnd));
  platform::EnableMenuItem(menu, 6, 0x0400);
  EXPECT_TRUE(platform::IsCloseCommandEnabled(hwnd));
  EXPECT_EQ(platform::GetSystemMenu(0, 0), 0);
  platform::UnregisterWindow(hwnd);
}

TEST(WindowsTest, MessageBoxesGoToThePresenterInstalled) {
  std::string seen;
  auto previous = platform::SetMessageBoxPresenter(
      [&](const std::string& text, const std::string& caption, std::uint32_t style) {
        seen = caption + "|" + text + "|" + std::to_string(style);
        return platform::IDCANCEL;
      });
  EXPECT_EQ(platform::MessageBoxA(0, "Frame Error", "Errore", 17), platform::IDCANCEL);
  EXPECT_EQ(seen, "Errore|Frame Error|17");
  platform::SetMessageBoxPresenter(previous);
}

}  // namespace
