#pragma once

#include <array>
#include <utility>

#include "serial/win32_types.h"

namespace win32 {

// Line-error flags and their messages, in the order in which they are reported.
inline constexpr std::array<std::pair<DWORD, const char*>, 6> kLineErrorMessages = {{
    {CE_RXOVER, "Receive Queue Full Error"},
    {CE_OVERRUN, "Receive Overrun Error"},
    {CE_RXPARITY, "Receive Parity Error"},
    {CE_FRAME, "Frame Error"},
    {CE_BREAK, "Break Detected"},
    {CE_TXFULL, "Transmit Queue Full"},
}};

}  // namespace win32
