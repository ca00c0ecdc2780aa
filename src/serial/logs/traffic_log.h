#pragma once

#include <string>
#include <string_view>

#include "platform/event_service.h"
#include "serial/win32_face.h"
#include "serial/win32_types.h"

namespace serial {

// The traffic log: every frame the program hands to a device and every block its reads
// deliver, RTS rising and falling, line errors, and the device lost and back. One line per
// event, in the layout of talvora-sim's frame log, times in seconds since the port was opened,
// each line flushed at once so that `tail -f` follows it. Nothing is written until a file is
// given (--log FILE, TALVORA_LOG).
namespace traffic_log {

// Appends to `path` from now on; false with `error` set when it cannot be written.
bool Open(const std::string& path, std::string& error);
void Close();
bool Enabled();

void PortOpened(const std::string& name, const std::string& device, platform::Micros at);
void PortClosed(platform::Micros at);
void FrameOut(std::string_view bytes, bool rts, platform::Micros at);
void FrameIn(std::string_view bytes, platform::Micros at);
void Rts(bool raised, platform::Micros at);
void LineErrors(DWORD flags, platform::Micros at);
// "device lost", "device back", with the device's path.
void Device(std::string_view event, const std::string& device, platform::Micros at);

}  // namespace traffic_log
}  // namespace serial
