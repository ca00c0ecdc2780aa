#pragma once

// Messages of talvora-cli that differ from the windows': a shell user's advice and the
// refusal of a message that cannot go out byte for byte.

#include <QString>
#include <optional>

#include "platform/app_error.h"

namespace cli {

// The report of a port that cannot be opened, with advice a shell user can follow where the
// window's advice names its controls.
platform::AppError ForTheShell(const platform::AppError& error);

// A message goes out byte for byte, one byte per character: a character outside Latin-1 has
// no byte, and sending something else in its place would say something else. The refusal
// naming the first such character; nothing when every character has its byte.
std::optional<QString> FirstOutsideLatin1(const QString& message);

}  // namespace cli
