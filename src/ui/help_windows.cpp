#include "ui/help_windows.h"

#include <QPlainTextEdit>
#include <QTextDocument>

#include "ui/kit/twips.h"
#include "ui/kit/window_focus.h"
#include "ui/window_manners.h"

namespace ui {

HelpWindow::HelpWindow(const QString& name, const QString& caption, QSize clientTwips,
                       const QString& boxName, const Twips& boxAt, QStringList lines,
                       QWidget* parent)
    : QDialog(parent, kHelpWindowFlags), lines_(std::move(lines)) {
  setObjectName(name);
  setWindowTitle(caption);
  setFixedSize(TwipsToPixels(clientTwips.width()), TwipsToPixels(clientTwips.height()));
  setWindowModality(Qt::ApplicationModal);
  KeepNormalState(*this, [] { return true; });
  box_ = new QPlainTextEdit(this);
  Designer(this, QPoint(0, 0)).Place(box_, boxName, DesignFont(kArialRounded, 7.5), boxAt);
  box_->setReadOnly(true);
  box_->document()->setDocumentMargin(2);
}

void HelpWindow::OpenModal() {
  Form_Load();
  DropStaleFocusConnections(*this);
  exec();
}

void HelpWindow::Form_Load() {
  box_->setPlainText(Text());
}

addr::addr(QWidget* parent)
    : HelpWindow(QStringLiteral("addr"), QStringLiteral("Remote Address"), QSize(7875, 1200),
                 QStringLiteral("Text1"), {120, 0, 7692, 1092},
                 {QStringLiteral("Remote module address (between 1 and 255)."),
                  QStringLiteral("Value 0 means the system MASTER module")},
                 parent) {}

void addr::Form_Load() {
  // No place of its own: it opens where it was designed, its client area at (30, 240) inside a
  // frame whose corner is the screen's.
  move(0, 0);
  HelpWindow::Form_Load();
}

delay::delay(QWidget* parent)
    : HelpWindow(
          QStringLiteral("delay"), QStringLiteral("Delay"), QSize(7815, 1185),
          QStringLiteral("delay"), {75, 120, 7572, 972},
          {QStringLiteral(
               "This value sets the number of synchronism prehamble bytes to be transmitted."),
           QStringLiteral("This value ranges between 1 and 255 byte")},
          parent) {}

void delay::Form_Load() {
  move(TwipsToPixels(12), TwipsToPixels(12));
  HelpWindow::Form_Load();
}

rs232::rs232(QWidget* parent)
    : HelpWindow(QStringLiteral("rs232"), QStringLiteral("RS 232 Characteristics"),
                 QSize(8160, 1560), QStringLiteral("rs232"), {120, 120, 7812, 1332},
                 {QStringLiteral("RS232 Protocol:"), QStringLiteral("0= no parity"),
                  QStringLiteral("1=odd parity"), QStringLiteral("2=not used"),
                  QStringLiteral("3=even parity")},
                 parent) {}

void rs232::Form_Load() {
  move(0, 0);
  HelpWindow::Form_Load();
}

void HelpWindows::Open(operations::HelpTopic topic) {
  const auto slot = static_cast<std::size_t>(topic);
  if (!windows_[slot]) {
    switch (topic) {
      case operations::HelpTopic::RemoteAddress:
        windows_[slot] = new addr(owner_);
        break;
      case operations::HelpTopic::Delay:
        windows_[slot] = new delay(owner_);
        break;
      case operations::HelpTopic::Rs232:
        windows_[slot] = new rs232(owner_);
        break;
    }
  }
  windows_[slot]->OpenModal();
}

HelpWindow* HelpWindows::Window(operations::HelpTopic topic) const {
  return windows_[static_cast<std::size_t>(topic)];
}

}  // namespace ui
