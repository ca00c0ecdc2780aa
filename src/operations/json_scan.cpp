#include "operations/json_scan.h"

#include <QSet>
#include <algorithm>
#include <string>
#include <vector>

namespace operations {
namespace {

struct Level {
  bool object = false;
  bool expectKey = false;
  QString name;  // the key whose value this object or array is
  QSet<QString> keys;
};

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The string that starts at the quote at `i`, decoded; `i` ends after its closing quote.
QString ReadString(const QByteArray& text, qsizetype& i) {
  QString decoded;
  qsizetype run = ++i;
  const auto flush = [&] { decoded += QString::fromUtf8(text.constData() + run, i - run); };
  while (i < text.size() && text[i] != '"') {
    if (text[i] != '\\') {
      ++i;
      continue;
    }
    flush();
    const char escaped = i + 1 < text.size() ? text[i + 1] : '\0';
    i = std::min(i + 2, text.size());
    if (escaped == 'u') {
      int unit = 0;
      for (int k = 0; k < 4 && i < text.size(); ++k, ++i)
        unit = unit * 16 + std::max(0, HexDigit(text[i]));
      decoded += QChar(static_cast<char16_t>(unit));
    } else {
      static constexpr char kFrom[] = "bfnrt";
      static constexpr char kTo[] = "\b\f\n\r\t";
      const char* at = std::char_traits<char>::find(kFrom, 5, escaped);
      decoded += QChar(at != nullptr ? kTo[at - kFrom] : escaped);
    }
    run = i;
  }
  flush();
  ++i;
  return decoded;
}

}  // namespace

std::optional<QString> JsonStrictnessProblem(const QByteArray& text) {
  std::vector<Level> levels;
  QString lastKey;
  for (qsizetype i = 0; i < text.size();) {
    const char c = text[i];
    if (c == '"') {
      const QString string = ReadString(text, i);
      if (levels.empty() || !levels.back().object || !levels.back().expectKey) continue;
      Level& level = levels.back();
      level.expectKey = false;
      if (level.keys.contains(string)) {
        return QString("\"%1\" is given twice%2")
            .arg(string, level.name.isNull() ? QString() : QString(" in \"%1\"").arg(level.name));
      }
      level.keys.insert(string);
      lastKey = string;
    } else if (c == '{' || c == '[') {
      const bool inObject = !levels.empty() && levels.back().object;
      levels.push_back(Level{c == '{', c == '{', inObject ? lastKey : QString(), {}});
      ++i;
    } else if (c == '}' || c == ']') {
      if (!levels.empty()) levels.pop_back();
      ++i;
    } else if (c == ',') {
      if (!levels.empty() && levels.back().object) levels.back().expectKey = true;
      ++i;
    } else if (c == '-' || (c >= '0' && c <= '9')) {
      const qsizetype start = i;
      while (i < text.size() && QByteArrayView("+-.0123456789eE").contains(text[i]))
        ++i;
      const QByteArray number = text.mid(start, i - start);
      if (number.contains('.') || number.contains('e') || number.contains('E'))
        return QString("%1 is not a whole number written in digits").arg(QString(number));
    } else {
      ++i;
    }
  }
  return std::nullopt;
}

}  // namespace operations
