#include "operations/number_text.h"

#include <QStringList>
#include <algorithm>

#include "operations/page_views.h"

namespace operations {
namespace {

constexpr double kLongestSeconds = 24 * 60 * 60;
constexpr const char* kAccepted =
    "write it in decimal, or in hexadecimal after 0x, with no sign and nothing before or after";

bool IsDigit(QChar c, int base) {
  const char16_t u = c.unicode();
  if (u >= u'0' && u <= u'9') return true;
  return base == 16 && ((u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F'));
}

int DigitValue(QChar c) {
  const char16_t u = c.unicode();
  if (u <= u'9') return u - u'0';
  return (u | 0x20) - u'a' + 10;
}

// The number in `text` if it is no more than `highest`; nothing for a malformed text too.
std::optional<int> WholeNumber(const QString& text, int highest) {
  const bool hex = text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X');
  const int base = hex ? 16 : 10;
  const qsizetype first = hex ? 2 : 0;
  if (text.size() <= first) return std::nullopt;
  long long value = 0;
  for (qsizetype i = first; i < text.size(); ++i) {
    if (!IsDigit(text[i], base)) return std::nullopt;
    value = value * base + DigitValue(text[i]);
    if (value > highest) return std::nullopt;
  }
  return static_cast<int>(value);
}

}  // namespace

bool HoldsControlCharacter(const QString& text) {
  return std::any_of(text.begin(), text.end(), [](QChar c) {
    return c.category() == QChar::Other_Control || c.category() == QChar::Separator_Line ||
           c.category() == QChar::Separator_Paragraph;
  });
}

QString Quoted(const QString& text) {
  const bool plain = !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
    return c.unicode() > u' ' && c.unicode() < 0x7f && c != u'\'' && c != u'\\';
  });
  if (plain) return text;
  QString shown = "'";
  for (const char32_t c : text.toUcs4()) {
    if (c == U'\'' || c == U'\\') {
      shown += QChar(u'\\');
      shown += QChar(static_cast<char16_t>(c));
    } else if (c < 0x20 || c == 0x7f) {
      shown += QString("\\x%1").arg(static_cast<unsigned>(c), 2, 16, QChar(u'0'));
    } else if (c >= 0xa0 && c != 0xfffd && QChar::isPrint(c)) {
      shown += QString::fromUcs4(&c, 1);
    } else if (c < 0x80) {
      shown += QChar(static_cast<char16_t>(c));
    } else {
      shown += QString("\\u{%1}").arg(static_cast<unsigned>(c), 4, 16, QChar(u'0'));
    }
  }
  return shown + "'";
}

std::optional<int> ParseRegisterNumber(const QString& text, QString& error) {
  const auto n = WholeNumber(text, kRegisterCount - 1);
  if (!n) {
    error = QString("register %1 is not 0 to %2: %3")
                .arg(Quoted(text))
                .arg(kRegisterCount - 1)
                .arg(kAccepted);
  }
  return n;
}

std::optional<int> ParseRegisterValue(int n, const QString& text, QString& error) {
  const auto value = WholeNumber(text, kHighestValue);
  if (!value) {
    error = QString("register %1: value %2 is not 0 to %3: %4")
                .arg(n)
                .arg(Quoted(text))
                .arg(kHighestValue)
                .arg(kAccepted);
  }
  return value;
}

std::optional<int> ParseAddress(const QString& text, QString& error) {
  const auto address = WholeNumber(text, kHighestAddress);
  if (!address) {
    error = QString("address %1 is not 0 to %2: %3")
                .arg(Quoted(text))
                .arg(kHighestAddress)
                .arg(kAccepted);
  }
  return address;
}

std::optional<std::vector<int>> ParseRegisterList(const QString& text, QString& error) {
  std::vector<int> registers;
  for (const QString& item : text.split(u',')) {
    if (item.isEmpty()) {
      error = QString("the register list %1 has an empty item").arg(Quoted(text));
      return std::nullopt;
    }
    QString ignored;
    std::optional<int> first = ParseRegisterNumber(item, ignored);
    std::optional<int> last = first;
    const qsizetype dash = item.indexOf(u'-', 1);
    if (!first && dash > 0 && ParseRegisterNumber(item.left(dash), ignored)) {
      first = ParseRegisterNumber(item.left(dash), error);
      last = ParseRegisterNumber(item.mid(dash + 1), error);
      if (!last) return std::nullopt;
    } else if (!first) {
      ParseRegisterNumber(item, error);
      return std::nullopt;
    }
    if (*last < *first) {
      error = QString("the range %1 runs backwards").arg(Quoted(item));
      return std::nullopt;
    }
    for (int n = *first; n <= *last; ++n)
      registers.push_back(n);
  }
  std::sort(registers.begin(), registers.end());
  registers.erase(std::unique(registers.begin(), registers.end()), registers.end());
  return registers;
}

std::optional<double> ParseSeconds(const QString& text, QString& error) {
  std::optional<double> seconds;
  if (const qsizetype point = text.indexOf(u'.'); point > 0 && !text.startsWith("0x")) {
    const QString whole = text.left(point);
    const QString fraction = text.mid(point + 1);
    const auto digits = [](const QString& part) {
      return !part.isEmpty() &&
             std::all_of(part.begin(), part.end(), [](QChar c) { return IsDigit(c, 10); });
    };
    if (digits(whole) && digits(fraction) && whole.size() <= 9 && fraction.size() <= 9)
      seconds = text.toDouble();
  } else if (const auto whole = WholeNumber(text, static_cast<int>(kLongestSeconds) + 1)) {
    seconds = *whole;
  }
  if (!seconds || *seconds < 1 || *seconds > kLongestSeconds) {
    error = QString(
                "%1 is not a number of seconds from 1 to %2: write it in decimal (2.5) or "
                "in hexadecimal after 0x, with no sign, exponent or unit")
                .arg(Quoted(text))
                .arg(kLongestSeconds);
    return std::nullopt;
  }
  return seconds;
}

}  // namespace operations
