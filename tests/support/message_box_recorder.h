#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/windows.h"

namespace testsupport {

// Stands in for the modal message box while it lives: records every box and, if asked, keeps
// each one "open" for a while by yielding, as a modal loop would.
class MessageBoxRecorder {
 public:
  struct Box {
    std::string text;
    std::string caption;
    std::uint32_t style;
  };

  MessageBoxRecorder();
  ~MessageBoxRecorder();
  MessageBoxRecorder(const MessageBoxRecorder&) = delete;
  MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

  // While a box is open, this runs (e.g. yields in virtual time for a while).
  void WhileOpen(std::function<void(const Box&)> action) { whileOpen_ = std::move(action); }
  // The button the operator presses on every box (IDOK unless set).
  void Press(std::int32_t button) { button_ = button; }
  const std::vector<Box>& Boxes() const { return boxes_; }
  std::vector<std::string> Texts() const;
  int MostOpenAtOnce() const { return mostOpen_; }

 private:
  platform::MessageBoxPresenter previous_;
  std::function<void(const Box&)> whileOpen_;
  std::vector<Box> boxes_;
  std::int32_t button_ = platform::IDOK;
  int open_ = 0;
  int mostOpen_ = 0;
};

}  // namespace testsupport
