#include "ui/window_probe.h"

#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <cstdio>

namespace ui {
namespace {

constexpr const char* kVariable = "TALVORA_WINDOW_PROBE";

QWidget* ShownWindow(const QString& caption) {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->isVisible() && window->windowTitle() == caption) return window;
  }
  return nullptr;
}

QString StateName(Qt::WindowStates state) {
  if (state & Qt::WindowMinimized) return QStringLiteral("minimized");
  if (state & Qt::WindowFullScreen) return QStringLiteral("fullscreen");
  if (state & Qt::WindowMaximized) return QStringLiteral("maximized");
  return QStringLiteral("normal");
}

QString Describe(const QWidget& window) {
  const QWindow* handle = window.windowHandle();
  return QStringLiteral("%1|%2|%3x%4|%5|%6")
      .arg(window.windowTitle(), StateName(window.windowState()))
      .arg(window.width())
      .arg(window.height())
      .arg(handle != nullptr && handle->isExposed() ? "exposed" : "hidden",
           window.isActiveWindow() ? "active" : "inactive");
}

void Write(const QString& text) {
  std::fputs(text.toUtf8().append('\n').constData(), stdout);
  std::fflush(stdout);
}

}  // namespace

std::optional<bool> WindowProbe::Requested(QString& problem) {
  const QByteArray value = qgetenv(kVariable);
  if (value.isEmpty()) return false;
  if (value == "1") return true;
  problem = QStringLiteral("%1 must be 1 or empty, not \"%2\"")
                .arg(QLatin1String(kVariable), QString::fromLocal8Bit(value));
  return std::nullopt;
}

WindowProbe::WindowProbe(QObject* parent)
    : QObject(parent), input_(new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this)) {
  connect(input_, &QSocketNotifier::activated, this, &WindowProbe::ReadRequests);
}

void WindowProbe::ReadRequests() {
  char buffer[512];
  const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
  if (got <= 0) {
    input_->setEnabled(false);  // the test has gone: nothing more will come
    return;
  }
  pending_.append(buffer, got);
  for (qsizetype end = pending_.indexOf('\n'); end >= 0; end = pending_.indexOf('\n')) {
    const QString request = QString::fromUtf8(pending_.left(end));
    pending_.remove(0, end + 1);
    // Outside this handler: a click may run a modal loop of its own.
    QTimer::singleShot(0, this, [request] { Write(Answer(request)); });
  }
}

QString WindowProbe::Answer(const QString& request) {
  const QString verb = request.section(' ', 0, 0);
  const QString rest = request.section(' ', 1);
  if (verb == QLatin1String("windows") && rest.isEmpty()) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (window->isVisible()) Write(Describe(*window));
    }
    return QStringLiteral("end");
  }
  if (verb == QLatin1String("click")) {
    QWidget* window = ShownWindow(rest.section(' ', 0, -2));
    const QString name = rest.section(' ', -1);
    auto* button = window != nullptr ? window->findChild<QAbstractButton*>(name) : nullptr;
    if (button == nullptr) return QStringLiteral("refused: no button \"%1\"").arg(rest);
    // Answered first: the click may open a window modally and return only when it closes.
    QTimer::singleShot(0, button, &QAbstractButton::click);
    return QStringLiteral("ok");
  }
  QWidget* window = ShownWindow(rest);
  if (window == nullptr) return QStringLiteral("refused: no window \"%1\" shown").arg(rest);
  if (verb == QLatin1String("maximize")) {
    window->windowHandle()->showMaximized();
  } else if (verb == QLatin1String("minimize")) {
    window->windowHandle()->showMinimized();
  } else if (verb == QLatin1String("close")) {
    window->windowHandle()->close();
  } else {
    return QStringLiteral("refused: unknown request \"%1\"").arg(request);
  }
  return QStringLiteral("ok");
}

}  // namespace ui
