#pragma once

#include <functional>

class QLabel;

namespace ui {

// Calls `changed` whenever `label` shows another text. A label reports no change of its text
// but to assistive technology, as a name change, and only while it has no accessible name of
// its own: this listens there, and passes every report on unchanged.
void OnLabelTextChange(QLabel* label, std::function<void()> changed);

}  // namespace ui
