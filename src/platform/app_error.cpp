#include "platform/app_error.h"

#include <cinttypes>
#include <cstdio>
#include <utility>

namespace platform {

AppError::AppError(std::uint32_t number, std::string source, std::string description,
                   std::string detail)
    : number_(number),
      source_(std::move(source)),
      description_(std::move(description)),
      detail_(std::move(detail)) {}

std::string ErrorReportText(const AppError& error) {
  const auto number = error.Number();
  const auto asLong = static_cast<std::int32_t>(number);
  char heading[64];
  std::snprintf(heading, sizeof heading, "Run-time error '%" PRId32 " (%08" PRIX32 ")':", asLong,
                number);
  std::string text = heading;
  text += "\n\n" + error.Description();
  if (!error.Detail().empty()) text += "\n\n" + error.Detail();
  return text;
}

}  // namespace platform
