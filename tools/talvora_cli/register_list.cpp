#include "register_list.h"

#include <QStringList>
#include <algorithm>

#include "operations/page_views.h"

namespace cli {

std::optional<int> ParseRegister(const QString& text, QString& error) {
  const QString number = text.trimmed();
  bool ok = false;
  const bool hex = number.startsWith("0x", Qt::CaseInsensitive);
  const int value = hex ? number.mid(2).toInt(&ok, 16) : number.toInt(&ok, 10);
  if (!ok || number.startsWith('-') || number.startsWith('+')) {
    error = QString("'%1' is not a register number").arg(text);
    return std::nullopt;
  }
  if (value >= operations::kRegisterCount) {
    error = QString("register %1 does not exist (registers are 0 to %2)")
                .arg(number)
                .arg(operations::kRegisterCount - 1);
    return std::nullopt;
  }
  return value;
}

std::optional<std::vector<int>> ParseRegisterList(const QString& text, QString& error) {
  std::vector<int> registers;
  for (const QString& item : text.split(',')) {
    const QStringList ends = item.split('-');
    const bool emptyEnd = std::any_of(ends.begin(), ends.end(),
                                      [](const QString& end) { return end.trimmed().isEmpty(); });
    if (emptyEnd || ends.size() > 2) {
      error = QString("'%1' is not a register or a range such as 0-3").arg(item);
      return std::nullopt;
    }
    const auto first = ParseRegister(ends.front(), error);
    const auto last = ParseRegister(ends.back(), error);
    if (!first || !last) return std::nullopt;
    if (*last < *first) {
      error = QString("the range '%1' runs backwards").arg(item);
      return std::nullopt;
    }
    for (int n = *first; n <= *last; ++n)
      registers.push_back(n);
  }
  std::sort(registers.begin(), registers.end());
  registers.erase(std::unique(registers.begin(), registers.end()), registers.end());
  return registers;
}

std::vector<int> AllRegisters() {
  std::vector<int> all(operations::kRegisterCount);
  for (int n = 0; n < operations::kRegisterCount; ++n)
    all[static_cast<std::size_t>(n)] = n;
  return all;
}

}  // namespace cli
