// Register numbers, values, addresses and durations: whatever the text, a number accepted is
// in range and written only in digits (decimal, or hexadecimal after 0x), so that its decimal
// form reads back as the same number.

#include <QString>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <optional>

#include "operations/number_text.h"

namespace {

bool OnlyDigits(const QString& text) {
  const bool hex = text.startsWith("0x", Qt::CaseInsensitive);
  for (qsizetype i = hex ? 2 : 0; i < text.size(); ++i) {
    const char16_t c = text[i].unicode();
    const bool digit =
        (c >= u'0' && c <= u'9') || (hex && ((c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F')));
    if (!digit) return false;
  }
  return true;
}

void Check(std::optional<int> parsed, const QString& text, int highest,
           const std::function<std::optional<int>(const QString&)>& again) {
  if (!parsed) return;
  if (*parsed < 0 || *parsed > highest || !OnlyDigits(text)) std::abort();
  if (again(QString::number(*parsed)) != parsed) std::abort();
}

}  // namespace

int talvora_fuzz_register_value(const std::uint8_t* data, std::size_t size) {
  const QString text =
      QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  QString error;
  Check(operations::ParseRegisterNumber(text, error), text, 31,
        [&](const QString& t) { return operations::ParseRegisterNumber(t, error); });
  Check(operations::ParseRegisterValue(3, text, error), text, 255,
        [&](const QString& t) { return operations::ParseRegisterValue(3, t, error); });
  Check(operations::ParseAddress(text, error), text, 255,
        [&](const QString& t) { return operations::ParseAddress(t, error); });
  if (const auto seconds = operations::ParseSeconds(text, error)) {
    if (!std::isfinite(*seconds) || *seconds < 1 || *seconds > 86400) std::abort();
  }
  operations::Quoted(text);
  return 0;
}
