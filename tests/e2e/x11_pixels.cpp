#include "x11_pixels.h"

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace e2e {

int PaintedPixels(const QString& window) {
  bool ok = false;
  const auto id = static_cast<xcb_window_t>(window.toULong(&ok));
  if (!ok) return 0;
  const std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t*)> connection(
      xcb_connect(nullptr, nullptr), xcb_disconnect);
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

}  // namespace e2e
