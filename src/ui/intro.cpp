#include "ui/intro.h"

#include <QCloseEvent>
#include <QRadioButton>

#include "ui/cdemo.h"
#include "ui/fatal_error.h"
#include "ui/kit/controls.h"
#include "ui/kit/twips.h"
#include "ui/port_choice.h"
#include "ui/window_manners.h"

namespace ui {
namespace {

constexpr QSize kIntroClientTwips{4710, 3360};
constexpr Twips kIntroFrame1{135, 120, 4440, 3090};
constexpr QRgb kIntroFrameCaption = qRgb(255, 0, 0);
constexpr int kOptionLeft = 225;
constexpr int kFirstOptionTop = 525;
constexpr int kOptionStep = 330;
constexpr int kOptionWidth = 945;
constexpr int kOptionHeight = 270;
constexpr int kPortCount = 4;

std::string ComName(int index) {
  return "COM" + std::to_string(index + 1);
}

}  // namespace

intro::intro(QWidget* parent) : QWidget(parent, kStartWindowFlags) {
  setObjectName(QStringLiteral("intro"));
  setWindowTitle(QStringLiteral("intro"));
  setFixedSize(TwipsToPixels(kIntroClientTwips.width()), TwipsToPixels(kIntroClientTwips.height()));
  // Minimized behind an open main window it would leave that window's owner out of reach.
  KeepNormalState(*this, [this] { return mainOpen_; });

  const Designer window(this, QPoint(0, 0));
  const QFont font = DesignFont(kTahoma, 9.75);
  Frame* frame1 = AddFrame(window, QStringLiteral("Frame1"), QStringLiteral("Serial Port Number"),
                           font, kIntroFrame1, kIntroFrameCaption);
  controls_.Frame1 = frame1;
  const Designer frame = window.Inside(frame1, kIntroFrame1);

  for (int i = 0; i < kPortCount; ++i) {
    const QString caption = QString::fromStdString(ComName(i));
    QRadioButton* option = AddOptionButton(
        frame, QStringLiteral("Option1(%1)").arg(i), caption, font,
        {kOptionLeft, kFirstOptionTop + i * kOptionStep, kOptionWidth, kOptionHeight});
    controls_.Option1[static_cast<std::size_t>(i)] = option;
  }
  // Which device each name stands for on this machine, and a context menu to choose it.
  ports_ = new PortChoice(controls_.Option1, this);
  controls_.Command1 = AddButton(frame, QStringLiteral("Command1"), QStringLiteral("OK"),
                                 DesignFont(kMsSansSerif, 9.75), {1740, 900, 1695, 840});

  QWidget* previous = controls_.Option1[0];
  for (QWidget* next :
       {static_cast<QWidget*>(controls_.Option1[1]), static_cast<QWidget*>(controls_.Option1[2]),
        static_cast<QWidget*>(controls_.Option1[3]), static_cast<QWidget*>(controls_.Command1)}) {
    setTabOrder(previous, next);
    previous = next;
  }
  connect(controls_.Command1, &QPushButton::clicked, this,
          [this] { Guarded([this] { Command1_Click(); }); });
}

intro::~intro() = default;

void intro::Command1_Click() {
  for (int i = 0; i < kPortCount; ++i) {
    if (controls_.Option1[static_cast<std::size_t>(i)]->isChecked()) portName_ = ComName(i);
  }
  if (!main_) main_ = new CDemo([this] { return portName_; }, this);
  mainOpen_ = true;
  struct Closed {
    bool& open;
    ~Closed() { open = false; }
  } closed{mainOpen_};
  main_->ShowModal();
}

void intro::closeEvent(QCloseEvent* event) {
  if (mainOpen_) {
    event->ignore();
    return;
  }
  QWidget::closeEvent(event);
}

}  // namespace ui
