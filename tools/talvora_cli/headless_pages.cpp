#include "headless_pages.h"

namespace cli {

HeadlessPages::HeadlessPages()
    : model_(std::make_unique<operations::PageModel>(MakeViews(), window_)) {
  model_->Load();
}

operations::PageViews HeadlessPages::MakeViews() {
  operations::PageViews views;
  operations::ForEachControl(
      views, [this](operations::ControlView*& view, const char* /*name*/, int /*index*/) {
        controls_.push_back(std::make_unique<operations::PlainControl>());
        view = controls_.back().get();
      });
  return views;
}

}  // namespace cli
