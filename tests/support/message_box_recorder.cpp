#include "support/message_box_recorder.h"

#include <algorithm>

namespace testsupport {

MessageBoxRecorder::MessageBoxRecorder() {
  previous_ = platform::SetMessageBoxPresenter(
      [this](const std::string& text, const std::string& caption, std::uint32_t style) {
        ++open_;
        mostOpen_ = std::max(mostOpen_, open_);
        boxes_.push_back(Box{text, caption, style});
        const Box shown = boxes_.back();
        if (whileOpen_) whileOpen_(shown);
        --open_;
        return button_;
      });
}

MessageBoxRecorder::~MessageBoxRecorder() {
  platform::SetMessageBoxPresenter(previous_);
}

std::vector<std::string> MessageBoxRecorder::Texts() const {
  std::vector<std::string> texts;
  for (const Box& box : boxes_)
    texts.push_back(box.text);
  return texts;
}

}  // namespace testsupport
