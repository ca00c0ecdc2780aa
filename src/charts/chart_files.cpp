#include "charts/chart_files.h"

#include <QBuffer>
#include <QChart>
#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include "charts/link_chart.h"
#include "files/safe_file_qt.h"

namespace charts {
namespace {

void Draw(LinkChart& chart, QPainter& painter, QSize size) {
  painter.setRenderHint(QPainter::Antialiasing);
  chart.Scene().render(&painter, QRectF(QPointF(0, 0), size), QRectF(QPointF(0, 0), size));
}

}  // namespace

bool ChartFormatOf(const QString& path, ChartFormat& format, QString& error) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == "png") {
    format = ChartFormat::Png;
  } else if (suffix == "svg") {
    format = ChartFormat::Svg;
  } else {
    error = QString("'%1': a chart file ends in .png or .svg").arg(path);
    return false;
  }
  return true;
}

bool SaveChart(LinkChart& chart, const QString& path, QString& error, QSize size) {
  ChartFormat format{};
  if (!ChartFormatOf(path, format, error)) return false;
  chart.Resize(size);
  // The charts lay themselves out on posted events.
  QCoreApplication::sendPostedEvents();
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (format == ChartFormat::Svg) {
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(chart.LevelChart()->title());
    svg.setDescription("TALVORA link test");
    QPainter painter(&svg);
    Draw(chart, painter, size);
  } else {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::white);
    {
      QPainter painter(&image);
      Draw(chart, painter, size);
    }
    if (!image.save(&buffer, "PNG")) {
      error = QString("cannot draw %1").arg(path);
      return false;
    }
  }
  return files::ReplaceFile(path, bytes, error);
}

}  // namespace charts
