// Which window system the program asks Qt for, and the window probe's switch.

#include "ui/platform_choice.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "ui/window_probe.h"

namespace {

TEST(PlatformChoice, X11ThroughXWaylandUnlessTheUserChose) {
  const struct {
    const char* name;
    const char* qpa;
    const char* wayland;
    const char* x11;
    const char* chosen;
  } rows[] = {
      {"Wayland session with XWayland", "", "wayland-0", ":0", "xcb"},
      {"Wayland session without XWayland", "", "wayland-0", "", ""},
      {"X11 session", "", "", ":0", ""},
      {"the user asks for Wayland", "wayland", "wayland-0", ":0", ""},
      {"the user asks for X11", "xcb", "wayland-0", ":0", ""},
      {"no display at all", "", "", "", ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(ui::ChoosePlatform(row.qpa, row.wayland, row.x11), QByteArray(row.chosen));
  }
}

TEST(WindowProbe, IsSwitchedOnByOneAndRefusesAnythingElse) {
  const struct {
    const char* value;
    std::optional<bool> requested;
  } rows[] = {{nullptr, false},      {"", false},          {"1", true},
              {"yes", std::nullopt}, {"1 ", std::nullopt}, {"0", std::nullopt}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.value == nullptr ? "unset" : row.value);
    if (row.value == nullptr) {
      unsetenv("TALVORA_WINDOW_PROBE");
    } else {
      setenv("TALVORA_WINDOW_PROBE", row.value, 1);
    }
    QString problem;
    EXPECT_EQ(ui::WindowProbe::Requested(problem), row.requested);
    EXPECT_EQ(problem.isEmpty(), row.requested.has_value()) << problem.toStdString();
    if (!row.requested) {
      EXPECT_TRUE(problem.contains(QString::fromLatin1(row.value)));
    }
  }
  unsetenv("TALVORA_WINDOW_PROBE");
}

TEST(WindowProbe, AnswersUnknownRequestsAndMissingWindowsWithARefusal) {
  EXPECT_EQ(ui::WindowProbe::Answer("maximize Nowhere"), "refused: no window \"Nowhere\" shown");
  EXPECT_EQ(ui::WindowProbe::Answer("click Nowhere Command1"),
            "refused: no button \"Nowhere Command1\"");
  EXPECT_EQ(ui::WindowProbe::Answer("windows"), "end");
}

}  // namespace
