// Register profiles: whatever the bytes, the parser ends without a fault, and a profile it
// accepts names registers 0 to 31 with values 0 to 255 and reads back the same once written.

#include <QByteArray>
#include <cstdint>
#include <cstdlib>

#include "operations/register_profile.h"

int talvora_fuzz_profile(const std::uint8_t* data, std::size_t size) {
  const QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  QString error;
  const auto profile = operations::ParseProfile(text, error);
  if (!profile) {
    if (error.isEmpty()) std::abort();
    return 0;
  }
  for (const auto& [n, value] : *profile) {
    if (n < 0 || n > 31 || value < 0 || value > 255) std::abort();
  }
  if (operations::ParseProfile(operations::ProfileText(*profile), error) != profile) std::abort();
  return 0;
}
