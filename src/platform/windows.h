#pragma once

// Windows by handle, as the program's lower layers see them: a window whose text can be set,
// the window menu's Close command, and the modal message box. The user interface registers
// its windows and the message-box presenter here; nothing below it knows a widget.

#include <cstdint>
#include <functional>
#include <string>

namespace platform {

using HWND = std::int32_t;
using HMENU = std::int32_t;

inline constexpr std::uint32_t MF_ENABLED = 0x0000;
inline constexpr std::uint32_t MF_GRAYED = 0x0001;
inline constexpr std::uint32_t MF_DISABLED = 0x0002;
inline constexpr std::uint32_t MF_BYPOSITION = 0x0400;
// Position of Close in the standard window menu (Restore, Move, Size, Minimize, Maximize,
// separator, Close).
inline constexpr std::uint32_t kCloseMenuPosition = 6;

inline constexpr std::uint32_t MB_OK = 0x00;
inline constexpr std::uint32_t MB_OKCANCEL = 0x01;
inline constexpr std::uint32_t MB_ICONSTOP = 0x10;
inline constexpr std::int32_t IDOK = 1;
inline constexpr std::int32_t IDCANCEL = 2;

// Registers a window whose text can be set by handle; returns its handle (never 0).
HWND RegisterWindow(std::function<void(const std::string&)> setText);
void UnregisterWindow(HWND hwnd);

// Sets the text of a window from a zero-terminated byte string; each byte becomes the character
// of the same code (0 to 255). A handle of 0 or an unknown handle changes nothing.
std::int32_t SetWindowTextA(HWND hwnd, const char* lpString);

// The window menu of a registered window. Only its Close item is modelled.
HMENU GetSystemMenu(HWND hwnd, std::int32_t bRevert);
// Returns the item's previous state (MF_ENABLED or MF_GRAYED), or -1 when there is no such item.
std::int32_t EnableMenuItem(HMENU hMenu, std::uint32_t uIDEnableItem, std::uint32_t uEnable);
// Whether the window's Close command is available (true for unknown windows).
bool IsCloseCommandEnabled(HWND hwnd);

// Shows a modal message box; returns the button pressed (IDOK, IDCANCEL).
using MessageBoxPresenter = std::function<std::int32_t(
    const std::string& text, const std::string& caption, std::uint32_t style)>;
// Installs the presenter and returns the one it replaces. Without one, boxes go to stderr.
MessageBoxPresenter SetMessageBoxPresenter(MessageBoxPresenter presenter);
std::int32_t MessageBoxA(HWND hwnd, const std::string& text, const std::string& caption,
                         std::uint32_t uType);

}  // namespace platform
