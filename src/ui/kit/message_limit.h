#pragma once

#include <QObject>
#include <cstddef>
#include <functional>

class QPlainTextEdit;

namespace ui {

// Keeps a text box within a number of bytes on the line: typing or pasting beyond it is refused,
// the box keeping what fits of the new text, with a beep.
class MessageLimit : public QObject {
 public:
  using Limit = std::function<std::size_t()>;
  using ByteCount = std::function<std::size_t(const QString&)>;

  MessageLimit(QPlainTextEdit* box, Limit limit, ByteCount count);

 private:
  void OnChange(int position, int added);

  QPlainTextEdit* box_;
  Limit limit_;
  ByteCount count_;
  bool trimming_ = false;
};

}  // namespace ui
