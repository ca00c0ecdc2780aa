#include "x11_display.h"

#include <xcb/xtest.h>

#include <QThread>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace e2e {
namespace {

struct FreeReply {
  void operator()(void* reply) const { std::free(reply); }
};
template <typename Reply>
using Owned = std::unique_ptr<Reply, FreeReply>;

constexpr int kServerStartMs = 10000;
constexpr std::uint32_t kLongestProperty = 1024;  // 32-bit units

}  // namespace

X11Display::X11Display() {
  // The server picks a free display number and prints it.
  server_.start(QStringLiteral("Xvfb"),
                {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "1024x768x24"});
  if (!server_.waitForStarted(kServerStartMs) || !server_.waitForReadyRead(kServerStartMs)) return;
  name_ = QStringLiteral(":") + QString::fromLatin1(server_.readLine()).trimmed();
  int screen = 0;
  connection_ = xcb_connect(name_.toLatin1().constData(), &screen);
  if (xcb_connection_has_error(connection_) != 0) {
    xcb_disconnect(connection_);
    connection_ = nullptr;
    return;
  }
  root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
}

X11Display::~X11Display() {
  if (connection_ != nullptr) xcb_disconnect(connection_);
  if (server_.state() == QProcess::NotRunning) return;
  server_.terminate();
  server_.waitForFinished(kServerStartMs);
}

xcb_atom_t X11Display::Atom(const char* name) {
  const Owned<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
      connection_,
      xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
      nullptr));
  return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

std::string X11Display::Text(xcb_window_t window, xcb_atom_t property, xcb_atom_t type) {
  const Owned<xcb_get_property_reply_t> reply(xcb_get_property_reply(
      connection_, xcb_get_property(connection_, 0, window, property, type, 0, kLongestProperty),
      nullptr));
  if (!reply || reply->format != 8) return {};
  return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                     static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
}

std::vector<std::uint32_t> X11Display::Cardinals(xcb_window_t window, const char* property) {
  const Owned<xcb_get_property_reply_t> reply(
      xcb_get_property_reply(connection_,
                             xcb_get_property(connection_, 0, window, Atom(property),
                                              XCB_GET_PROPERTY_TYPE_ANY, 0, kLongestProperty),
                             nullptr));
  if (!reply || reply->format != 32) return {};
  const auto* values = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
  return {values, values + xcb_get_property_value_length(reply.get()) / 4};
}

std::string X11Display::Caption(xcb_window_t window) {
  return Text(window, Atom("_NET_WM_NAME"), Atom("UTF8_STRING"));
}

xcb_window_t X11Display::TransientFor(xcb_window_t window) {
  const std::vector<std::uint32_t> owner = Cardinals(window, "WM_TRANSIENT_FOR");
  return owner.empty() ? 0 : owner.front();
}

std::map<std::string, xcb_window_t> X11Display::Shown(std::int64_t pid) {
  std::map<std::string, xcb_window_t> shown;
  const Owned<xcb_query_tree_reply_t> tree(
      xcb_query_tree_reply(connection_, xcb_query_tree(connection_, root_), nullptr));
  if (!tree) return shown;
  const xcb_window_t* windows = xcb_query_tree_children(tree.get());
  for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
    const Owned<xcb_get_window_attributes_reply_t> attributes(xcb_get_window_attributes_reply(
        connection_, xcb_get_window_attributes(connection_, windows[i]), nullptr));
    const std::vector<std::uint32_t> owner = Cardinals(windows[i], "_NET_WM_PID");
    if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE && !owner.empty() &&
        owner.front() == static_cast<std::uint32_t>(pid)) {
      shown[Caption(windows[i])] = windows[i];
    }
  }
  return shown;
}

void X11Display::Click(xcb_window_t window, QPoint at) {
  const Owned<xcb_translate_coordinates_reply_t> onScreen(xcb_translate_coordinates_reply(
      connection_,
      xcb_translate_coordinates(connection_, window, root_, static_cast<std::int16_t>(at.x()),
                                static_cast<std::int16_t>(at.y())),
      nullptr));
  if (!onScreen) return;
  xcb_test_fake_input(connection_, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, root_, onScreen->dst_x,
                      onScreen->dst_y, 0);
  xcb_flush(connection_);
  QThread::msleep(50);
  for (const std::uint8_t type : {XCB_BUTTON_PRESS, XCB_BUTTON_RELEASE}) {
    xcb_test_fake_input(connection_, type, XCB_BUTTON_INDEX_1, XCB_CURRENT_TIME, root_, 0, 0, 0);
    xcb_flush(connection_);
    QThread::msleep(50);
  }
}

void X11Display::AskToClose(xcb_window_t window) {
  xcb_client_message_event_t message{};
  message.response_type = XCB_CLIENT_MESSAGE;
  message.format = 32;
  message.window = window;
  message.type = Atom("WM_PROTOCOLS");
  message.data.data32[0] = Atom("WM_DELETE_WINDOW");
  message.data.data32[1] = XCB_CURRENT_TIME;
  xcb_send_event(connection_, 0, window, XCB_EVENT_MASK_NO_EVENT,
                 reinterpret_cast<const char*>(&message));
  xcb_flush(connection_);
}

}  // namespace e2e
