#pragma once

#include <string>
#include <string_view>

#include "platform/event_service.h"
#include "serial/win32_face.h"

namespace serial {

// "24 00" for the bytes 0x24 0x00.
std::string HexBytes(std::string_view bytes);

// One line of a frame log, in the layout talvora-sim's log and the program's traffic log share,
// so the two sides of a session read side by side: seconds since the origin with microseconds
// in twelve columns, the route in eighteen, then what happened.
//   "    0.579261  program->line  RTS 24 00"
std::string LogLine(platform::Micros sinceOrigin, std::string_view route, std::string_view what);

}  // namespace serial
