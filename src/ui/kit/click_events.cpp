#include "ui/kit/click_events.h"

#include <QMouseEvent>
#include <QWidget>

#include "ui/fatal_error.h"

namespace ui {

void ClickEvents::OnClick(QWidget* control, Handler handler) {
  WatchOf(control).click = std::move(handler);
}

void ClickEvents::OnDoubleClick(QWidget* control, Handler handler) {
  WatchOf(control).doubleClick = std::move(handler);
}

ClickEvents::Watch& ClickEvents::WatchOf(QWidget* control) {
  auto [it, added] = watches_.try_emplace(control);
  if (added) {
    control->installEventFilter(this);
    connect(control, &QObject::destroyed, this, [this](QObject* gone) { watches_.erase(gone); });
  }
  return it->second;
}

bool ClickEvents::eventFilter(QObject* watched, QEvent* event) {
  const auto type = event->type();
  if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
      type != QEvent::MouseButtonDblClick) {
    return false;
  }
  const auto* mouse = static_cast<QMouseEvent*>(event);
  if (mouse->button() != Qt::LeftButton) return false;
  auto it = watches_.find(watched);
  if (it == watches_.end()) return false;
  Watch& watch = it->second;
  Handler handler;
  if (type == QEvent::MouseButtonPress) {
    watch.pressed = true;
  } else if (type == QEvent::MouseButtonDblClick) {
    watch.pressed = false;
    handler = watch.doubleClick;
  } else if (watch.pressed) {
    watch.pressed = false;
    const auto* control = static_cast<QWidget*>(watched);
    if (control->rect().contains(mouse->position().toPoint())) handler = watch.click;
  }
  // The control still gets the event: it takes the focus and places the cursor as usual.
  if (handler) Guarded(handler);
  return false;
}

}  // namespace ui
