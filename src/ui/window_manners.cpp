#include "ui/window_manners.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <utility>

namespace ui {
namespace {

// How long a window may stay unseen before it is taken for minimized: longer than a busy
// compositor's pause between frames.
constexpr int kHiddenPatience = 1000;
constexpr Qt::WindowStates kNeverKept = Qt::WindowMaximized | Qt::WindowFullScreen;

class NormalStateKeeper final : public QObject {
 public:
  NormalStateKeeper(QWidget& window, std::function<bool()> mayNotMinimize)
      : QObject(&window), window_(&window), mayNotMinimize_(std::move(mayNotMinimize)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == watchedHandle_ && event->type() == QEvent::Expose &&
        !watchedHandle_->isExposed())
      QTimer::singleShot(kHiddenPatience, this, [this] { MapAgainIfHidden(); });
    if (watched != window_) return false;
    switch (event->type()) {
      case QEvent::Show:
        LetWaylandSizeTheWindow();
        break;
      case QEvent::WindowStateChange:
        // Not from inside the change itself: the platform finishes it first.
        if (Unwanted()) QTimer::singleShot(0, this, [this] { Restore(); });
        break;
      default:
        break;
    }
    return false;
  }

 private:
  bool Unwanted() const {
    const Qt::WindowStates state = window_->windowState();
    return (state & kNeverKept) != 0 ||
           ((state & Qt::WindowMinimized) != 0 && mayNotMinimize_ && mayNotMinimize_());
  }
  // A Wayland compositor ends a client whose surface does not take the size of a maximized or
  // full-screen state it has acknowledged, and Qt acknowledges it before the program hears of
  // it. So on Wayland the platform window may take any size; the widget keeps its fixed size,
  // and the window goes back to it at once.
  void LetWaylandSizeTheWindow() {
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) return;
    QWindow* handle = window_->windowHandle();
    if (handle == nullptr) return;
    handle->setMaximumSize(QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    // A Wayland client never hears that it was minimized; it sees only that the compositor
    // stops showing it.
    if (watchedHandle_ != handle) {
      watchedHandle_ = handle;
      handle->installEventFilter(this);
    }
  }
  // Shows the window anew (a new surface the compositor maps) when it has stayed unseen while
  // it may not be minimized.
  void MapAgainIfHidden() {
    if (!window_ || !window_->isVisible() || watchedHandle_ == nullptr ||
        watchedHandle_->isExposed() || !mayNotMinimize_ || !mayNotMinimize_()) {
      return;
    }
    std::fprintf(stderr, "talvora: \"%s\" hidden by the desktop: shown as designed again\n",
                 window_->windowTitle().toLocal8Bit().constData());
    window_->hide();
    window_->show();
  }
  void Restore() {
    if (!window_ || !window_->isVisible() || !Unwanted()) return;
    const Qt::WindowStates state = window_->windowState();
    std::fprintf(stderr, "talvora: \"%s\" %s by the desktop: shown as designed again\n",
                 window_->windowTitle().toLocal8Bit().constData(),
                 (state & Qt::WindowMinimized) != 0    ? "minimized"
                 : (state & Qt::WindowFullScreen) != 0 ? "made full screen"
                                                       : "maximized");
    // The platform brings back the normal size with the normal state.
    window_->setWindowState(Qt::WindowNoState);
    window_->show();
    window_->raise();
    window_->activateWindow();
  }

  QPointer<QWidget> window_;
  QPointer<QWindow> watchedHandle_;
  std::function<bool()> mayNotMinimize_;
};

// Where the window's frame belongs: centred on the screen's available area.
QPoint CentredFrameAt(const QWidget& window) {
  const QScreen* screen =
      window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return window.pos();
  QRect placed = window.frameGeometry();
  placed.moveCenter(screen->availableGeometry().center());
  return placed.topLeft();
}

// Centres the window again once the window manager has put a frame around it: the frame's size
// is known only then. Window managers differ in how they read a position asked for before the
// frame was known (Openbox takes it for the frame's, whatever the window's gravity says), so
// each step moves the place asked for by what the frame, as placed, still lacks. From the first
// sight of the frame (which a busy desktop may show late) the window manager gets a moment to
// place the window; after that the operator's moves are left alone.
class FrameCentring final : public QObject {
 public:
  explicit FrameCentring(QWidget& window)
      : QObject(&window), window_(window), asked_(window.pos()) {
    setObjectName(QStringLiteral("FrameCentring"));
    window.installEventFilter(this);
  }

  // Moves the window to `at`, which the steps then correct from.
  void Ask(QPoint at) {
    asked_ = at;
    window_.move(at);  // a window's position is its frame's
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != &window_) return false;
    switch (event->type()) {
      case QEvent::Move:
      case QEvent::Resize:
      case QEvent::Expose:
      case QEvent::WindowActivate:
        if (window_.frameGeometry().size() != window_.size()) {
          if (!std::exchange(framed_, true))
            QTimer::singleShot(kPlacingTime, this, [this] { Done(); });
          Step();
        }
        break;
      case QEvent::Hide:
        Done();
        break;
      default:
        break;
    }
    return false;
  }

 private:
  static constexpr int kMostSteps = 3;
  static constexpr int kPlacingTime = 2000;  // ms

  void Step() {
    const QPoint lacking = CentredFrameAt(window_) - window_.frameGeometry().topLeft();
    if (lacking.isNull()) return;
    if (++steps_ > kMostSteps) {
      Done();
      return;
    }
    Ask(asked_ + lacking);
  }
  void Done() {
    window_.removeEventFilter(this);
    deleteLater();
  }

  QWidget& window_;
  QPoint asked_;
  int steps_ = 0;
  bool framed_ = false;
};

}  // namespace

void KeepNormalState(QWidget& window, std::function<bool()> mayNotMinimize) {
  window.installEventFilter(new NormalStateKeeper(window, std::move(mayNotMinimize)));
}

void CentreFrameOnScreen(QWidget& window) {
  // A Wayland compositor places windows itself.
  if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) return;
  // Every place asked for goes through the centring while it lasts: its steps correct the last
  // request, whether the frame was known when it was made or not.
  auto* centring = static_cast<FrameCentring*>(
      window.findChild<QObject*>(QStringLiteral("FrameCentring"), Qt::FindDirectChildrenOnly));
  if (centring == nullptr && window.frameGeometry().size() == window.size())
    centring = new FrameCentring(window);
  if (centring != nullptr) {
    centring->Ask(CentredFrameAt(window));
  } else {
    window.move(CentredFrameAt(window));
  }
}

}  // namespace ui
