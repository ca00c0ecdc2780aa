#include "ui/kit/message_box.h"

#include <QMessageBox>

#include "platform/windows.h"

namespace ui {
namespace {

constexpr std::uint32_t kButtonsMask = 0x0F;
constexpr std::uint32_t kIconMask = 0xF0;

QMessageBox::Icon IconOf(std::uint32_t style) {
  switch (style & kIconMask) {
    case 0x10:
      return QMessageBox::Critical;
    case 0x20:
      return QMessageBox::Question;
    case 0x30:
      return QMessageBox::Warning;
    case 0x40:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

}  // namespace

std::int32_t ShowMessageBox(const std::string& text, const std::string& caption,
                            std::uint32_t style) {
  QMessageBox box(IconOf(style), QString::fromUtf8(caption), QString::fromUtf8(text));
  if ((style & kButtonsMask) == platform::MB_OKCANCEL) {
    box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
  } else {
    box.setStandardButtons(QMessageBox::Ok);
  }
  box.setDefaultButton(QMessageBox::Ok);
  box.setEscapeButton(box.standardButtons().testFlag(QMessageBox::Cancel) ? QMessageBox::Cancel
                                                                          : QMessageBox::Ok);
  return box.exec() == QMessageBox::Cancel ? platform::IDCANCEL : platform::IDOK;
}

}  // namespace ui
