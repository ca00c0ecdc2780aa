// Register lists as a script writes them ("0-3,31"): whatever the bytes, the parser ends, and
// what it accepts is registers 0 to 31 in order, each once.

#include <QString>
#include <cstdint>
#include <cstdlib>

#include "operations/number_text.h"

int talvora_fuzz_register_list(const std::uint8_t* data, std::size_t size) {
  const QString text =
      QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  QString error;
  const auto registers = operations::ParseRegisterList(text, error);
  if (!registers) {
    if (error.isEmpty()) std::abort();  // a refusal always says why
    return 0;
  }
  int previous = -1;
  for (const int n : *registers) {
    if (n <= previous || n > 31) std::abort();
    previous = n;
  }
  if (registers->empty()) std::abort();
  return 0;
}
