#include "operations/plain_control.h"

namespace operations {

void PlainControl::Text(const QString& vNewValue) {
  text_ = vNewValue;
  if (onText_) onText_(text_);
}

}  // namespace operations
