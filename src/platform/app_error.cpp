#include "platform/app_error.h"

#include <utility>

namespace platform {

AppError::AppError(std::uint32_t number, std::string source, std::string description,
                   std::string detail)
    : number_(number),
      source_(std::move(source)),
      description_(std::move(description)),
      detail_(std::move(detail)) {}

}  // namespace platform
