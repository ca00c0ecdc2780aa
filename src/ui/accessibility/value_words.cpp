#include "ui/accessibility/value_words.h"

#include "operations/register_table.h"

namespace ui {

QString ValueWords(QRgb colour, const QString& text, bool selected) {
  const operations::Rgb rgb = 0xFF000000u | (colour & RGB_MASK);
  if (rgb == operations::kReadColour) {
    // A value that came only at the second request carries a ". " marker before it.
    return text.startsWith(QLatin1Char('.')) ? QStringLiteral("read at the second request")
                                             : QStringLiteral("read");
  }
  if (rgb == operations::kConfirmedColour) return QStringLiteral("confirmed");
  if (rgb == operations::kFailedColour) {
    if (text == QLatin1String("NO")) return QStringLiteral("no answer");
    // The range check clears the row's selector; a failed read-back leaves it set.
    return selected ? QStringLiteral("not confirmed") : QStringLiteral("out of range, not written");
  }
  return {};
}

}  // namespace ui
