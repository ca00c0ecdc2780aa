#include "x11_client.h"

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace e2e {
namespace {

using Connection = std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t*)>;

Connection Connect() {
  return Connection(xcb_connect(nullptr, nullptr), xcb_disconnect);
}

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
  const std::unique_ptr<xcb_intern_atom_reply_t, void (*)(void*)> reply(
      xcb_intern_atom_reply(
          connection,
          xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
          nullptr),
      std::free);
  return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

}  // namespace

int PaintedPixels(const QString& window) {
  bool ok = false;
  const auto id = static_cast<xcb_window_t>(window.toULong(&ok));
  if (!ok) return 0;
  const Connection connection = Connect();
  if (xcb_connection_has_error(connection.get()) != 0) return 0;
  const std::unique_ptr<xcb_get_geometry_reply_t, void (*)(void*)> geometry(
      xcb_get_geometry_reply(connection.get(), xcb_get_geometry(connection.get(), id), nullptr),
      std::free);
  if (!geometry) return 0;
  const std::unique_ptr<xcb_get_image_reply_t, void (*)(void*)> image(
      xcb_get_image_reply(connection.get(),
                          xcb_get_image(connection.get(), XCB_IMAGE_FORMAT_Z_PIXMAP, id, 0, 0,
                                        geometry->width, geometry->height, ~0U),
                          nullptr),
      std::free);
  if (!image || image->depth != 24) return 0;
  const std::uint8_t* data = xcb_get_image_data(image.get());
  const int length = xcb_get_image_data_length(image.get());
  int painted = 0;
  for (int i = 0; i + 3 < length; i += 4) {  // 32 bits a pixel: blue, green, red, unused
    if (data[i] != 0 || data[i + 1] != 0 || data[i + 2] != 0) ++painted;
  }
  return painted;
}

bool SendCloseRequest(const QString& window) {
  bool ok = false;
  const auto id = static_cast<xcb_window_t>(window.toULong(&ok));
  if (!ok) return false;
  const Connection connection = Connect();
  if (xcb_connection_has_error(connection.get()) != 0) return false;
  xcb_client_message_event_t request{};
  request.response_type = XCB_CLIENT_MESSAGE;
  request.format = 32;
  request.window = id;
  request.type = Atom(connection.get(), "WM_PROTOCOLS");
  request.data.data32[0] = Atom(connection.get(), "WM_DELETE_WINDOW");
  request.data.data32[1] = XCB_CURRENT_TIME;
  // Checked, so the server has taken the request before this client goes: a server that sees
  // a client's data and its hang-up together may drop the data, under load most of the time.
  const std::unique_ptr<xcb_generic_error_t, void (*)(void*)> error(
      xcb_request_check(connection.get(),
                        xcb_send_event_checked(connection.get(), 0, id, XCB_EVENT_MASK_NO_EVENT,
                                               reinterpret_cast<const char*>(&request))),
      std::free);
  return request.type != XCB_ATOM_NONE && request.data.data32[0] != XCB_ATOM_NONE && !error;
}

}  // namespace e2e
