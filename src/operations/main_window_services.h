#pragma once

namespace operations {

// Tab pages of the main window, by index.
inline constexpr int kProgrammingPage = 0;
inline constexpr int kRadioTestingPage = 1;
inline constexpr int kTerminalPage = 2;

// What the logic of a page may ask of the main window.
class MainWindowServices {
 public:
  // Withhold and give back the window's Close command.
  virtual void DisableClose() = 0;
  virtual void EnableClose() = 0;
  // A disabled page cannot be selected until it is enabled again.
  virtual void SetPageEnabled(int page, bool enabled) = 0;

 protected:
  ~MainWindowServices() = default;
};

}  // namespace operations
