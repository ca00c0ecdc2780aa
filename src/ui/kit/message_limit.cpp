#include "ui/kit/message_limit.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

namespace ui {

MessageLimit::MessageLimit(QPlainTextEdit* box, Limit limit, ByteCount count)
    : QObject(box), box_(box), limit_(std::move(limit)), count_(std::move(count)) {
  connect(box->document(), &QTextDocument::contentsChange, this,
          [this](int position, int /*removed*/, int added) { OnChange(position, added); });
}

void MessageLimit::OnChange(int position, int added) {
  if (trimming_ || added <= 0) return;
  const std::size_t bytes = count_(box_->toPlainText());
  const std::size_t limit = limit_();
  if (bytes <= limit) return;
  // Drop the end of what was just put in until the whole fits.
  QTextDocument* document = box_->document();
  // A change that replaces the whole text counts the document's closing separator too.
  added = std::min(added, document->characterCount() - 1 - position);
  std::size_t excess = bytes - limit;
  int keep = added;
  while (keep > 0 && excess > 0) {
    --keep;
    const QChar dropped = document->characterAt(position + keep);
    const QString asText = dropped == QChar::ParagraphSeparator ? QStringLiteral("\n") : dropped;
    excess -= std::min(excess, count_(asText));
  }
  trimming_ = true;
  QTextCursor cursor(document);
  cursor.setPosition(position + keep);
  cursor.setPosition(position + added, QTextCursor::KeepAnchor);
  cursor.removeSelectedText();
  trimming_ = false;
  QApplication::beep();
}

}  // namespace ui
