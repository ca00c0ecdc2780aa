#include "ui/kit/close_button_hint.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWidget>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace ui {
namespace {

// The Motif window manager hints: five 32-bit fields, of which the first says which of the
// others are given and the second lists the functions the window manager may offer.
using MotifHints = std::array<std::uint32_t, 5>;
constexpr std::size_t kHintFlags = 0;
constexpr std::size_t kHintFunctions = 1;
constexpr std::uint32_t kFunctionsGiven = 1U << 0;
// A list that starts with "all" names the functions that are left out.
constexpr std::uint32_t kFunctionAll = 1U << 0;
constexpr std::uint32_t kEveryFunction = (1U << 1) | (1U << 2) | (1U << 3) | (1U << 4) | (1U << 5);
constexpr std::uint32_t kFunctionClose = 1U << 5;

struct FreeReply {
  void operator()(void* reply) const { std::free(reply); }
};

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
  const std::unique_ptr<xcb_intern_atom_reply_t, FreeReply> reply(xcb_intern_atom_reply(
      connection,
      xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
      nullptr));
  return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

// The hints as the window has them; a window without them may offer every function.
MotifHints ReadHints(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t atom) {
  MotifHints hints{};
  const std::unique_ptr<xcb_get_property_reply_t, FreeReply> reply(xcb_get_property_reply(
      connection, xcb_get_property(connection, 0, window, atom, atom, 0, hints.size()), nullptr));
  if (reply && reply->format == 32 &&
      static_cast<std::size_t>(xcb_get_property_value_length(reply.get())) ==
          sizeof(std::uint32_t) * hints.size()) {
    std::memcpy(hints.data(), xcb_get_property_value(reply.get()),
                sizeof(std::uint32_t) * hints.size());
  }
  if ((hints[kHintFlags] & kFunctionsGiven) == 0) {
    hints[kHintFunctions] = kEveryFunction;
  } else if ((hints[kHintFunctions] & kFunctionAll) != 0) {
    hints[kHintFunctions] = kEveryFunction & ~hints[kHintFunctions];
  }
  return hints;
}

}  // namespace

void ShowCloseButton(QWidget& window, bool available) {
  // Other platforms may answer for X11 too (the offscreen one does) without a connection.
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return;
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr || x11->connection() == nullptr ||
      !window.testAttribute(Qt::WA_WState_Created)) {
    return;
  }
  xcb_connection_t* connection = x11->connection();
  const auto id = static_cast<xcb_window_t>(window.winId());
  const xcb_atom_t atom = Atom(connection, "_MOTIF_WM_HINTS");
  if (atom == XCB_ATOM_NONE) return;
  MotifHints hints = ReadHints(connection, id, atom);
  hints[kHintFlags] |= kFunctionsGiven;
  if (available) {
    hints[kHintFunctions] |= kFunctionClose;
  } else {
    hints[kHintFunctions] &= ~kFunctionClose;
  }
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, atom, atom, 32,
                      static_cast<std::uint32_t>(hints.size()), hints.data());
  xcb_flush(connection);
}

}  // namespace ui
