#include "window_clock.h"

#include <poll.h>
#include <xcb/xcb.h>

#include <QElapsedTimer>
#include <QProcess>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace bench {
namespace {

constexpr qint64 kGiveUpMs = 10'000;
// Between looks when no window was mapped meanwhile.
constexpr int kLookEveryMs = 5;

struct Disconnect {
  void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};
using Connection = std::unique_ptr<xcb_connection_t, Disconnect>;

template <typename Reply>
std::unique_ptr<Reply, decltype(&std::free)> Owned(Reply* reply) {
  return {reply, &std::free};
}

// Whether a child of the root window belongs to `pid` and is on the screen. Qt and GTK both
// name their process in _NET_WM_PID; without a window manager a top-level window is a child
// of the root.
bool WindowOfProcessShown(xcb_connection_t* x, xcb_window_t root, xcb_atom_t pidAtom, qint64 pid) {
  const auto tree = Owned(xcb_query_tree_reply(x, xcb_query_tree(x, root), nullptr));
  if (!tree) return false;
  const xcb_window_t* children = xcb_query_tree_children(tree.get());
  const int count = xcb_query_tree_children_length(tree.get());
  std::vector<xcb_get_window_attributes_cookie_t> states;
  std::vector<xcb_get_property_cookie_t> pids;
  for (int i = 0; i < count; ++i) {
    states.push_back(xcb_get_window_attributes(x, children[i]));
    pids.push_back(xcb_get_property(x, 0, children[i], pidAtom, XCB_ATOM_CARDINAL, 0, 1));
  }
  bool shown = false;
  for (int i = 0; i < count; ++i) {
    const auto state = Owned(xcb_get_window_attributes_reply(x, states[i], nullptr));
    const auto owner = Owned(xcb_get_property_reply(x, pids[i], nullptr));
    if (shown || !state || !owner || state->map_state != XCB_MAP_STATE_VIEWABLE) continue;
    if (xcb_get_property_value_length(owner.get()) != 4) continue;
    std::uint32_t value = 0;
    std::memcpy(&value, xcb_get_property_value(owner.get()), sizeof value);
    shown = value == static_cast<std::uint32_t>(pid);
  }
  return shown;
}

}  // namespace

std::optional<double> LaunchToWindowMs(const QStringList& command,
                                       const QProcessEnvironment& environment) {
  // One connection for every run: an X server without other clients resets itself when the
  // last one leaves, and refuses connections while it does.
  static int screenNumber = 0;
  static const Connection x(xcb_connect(nullptr, &screenNumber));
  if (!x || xcb_connection_has_error(x.get()) != 0) return std::nullopt;
  xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(x.get()));
  for (int i = 0; i < screenNumber && screens.rem > 0; ++i)
    xcb_screen_next(&screens);
  const xcb_window_t root = screens.data->root;
  const char* name = "_NET_WM_PID";
  const auto atom = Owned(xcb_intern_atom_reply(
      x.get(), xcb_intern_atom(x.get(), 0, static_cast<std::uint16_t>(std::strlen(name)), name),
      nullptr));
  if (!atom) return std::nullopt;

  // The tree is looked at when a window is mapped, and every few milliseconds besides: asking
  // the server all the time would hold up the very program it waits for.
  const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(x.get(), root, XCB_CW_EVENT_MASK, &mask);
  xcb_flush(x.get());
  pollfd events{xcb_get_file_descriptor(x.get()), POLLIN, 0};

  QProcess program;
  program.setProcessEnvironment(environment);
  program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  program.setStandardOutputFile(QProcess::nullDevice());
  QElapsedTimer clock;
  clock.start();
  program.start(command.front(), command.mid(1));
  std::optional<double> shown;
  if (program.waitForStarted(5000)) {
    while (clock.elapsed() < kGiveUpMs && program.state() == QProcess::Running) {
      if (WindowOfProcessShown(x.get(), root, atom->atom, program.processId())) {
        shown = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        break;
      }
      ::poll(&events, 1, kLookEveryMs);
      while (xcb_generic_event_t* event = xcb_poll_for_event(x.get()))
        std::free(event);
    }
  }
  program.terminate();
  if (!program.waitForFinished(3000)) {
    program.kill();
    program.waitForFinished(3000);
  }
  return shown;
}

}  // namespace bench
