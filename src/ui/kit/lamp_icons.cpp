#include "ui/kit/lamp_icons.h"

#include <QImage>
#include <QPainter>

namespace ui {

QPixmap LampIcon(QRgb colour) {
  QImage image(kLampIconSize, kLampIconSize, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(Qt::black, 2.0));
  painter.setBrush(QColor(colour));
  painter.drawEllipse(QRectF(2.0, 2.0, 28.0, 28.0));
  // The highlight sits up and to the left, where light from above the screen would catch it.
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::white);
  painter.drawEllipse(QRectF(8.0, 7.0, 7.0, 5.0));
  painter.end();
  return QPixmap::fromImage(image);
}

}  // namespace ui
