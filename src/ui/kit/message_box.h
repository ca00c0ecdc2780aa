#pragma once

#include <cstdint>
#include <string>

namespace ui {

// The modal message box of the window system, as a Qt message box: the style's low digit picks
// the buttons (0 OK, 1 OK and Cancel), the next one the icon (0x10 critical, 0x20 question,
// 0x30 warning, 0x40 information). Returns IDOK or IDCANCEL.
std::int32_t ShowMessageBox(const std::string& text, const std::string& caption,
                            std::uint32_t style);

}  // namespace ui
