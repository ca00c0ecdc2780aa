#pragma once

// The two things the serial-port object reaches up to in the link module: the reply flag it
// sets when received text has been delivered, and the box it shows a line error in.

#include <string>

namespace functions {

extern bool ReplyArrivedFlag;
void ShowCommError(const std::string& message);

}  // namespace functions
