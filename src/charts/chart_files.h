#pragma once

#include <QSize>
#include <QString>

namespace charts {

class LinkChart;

// The size a chart file is drawn at, in pixels (SVG: in its own units).
inline constexpr QSize kChartFileSize{1000, 700};

// What a file name asks for: a picture by its suffix, .png or .svg; anything else is refused.
enum class ChartFormat { Png, Svg };
bool ChartFormatOf(const QString& path, ChartFormat& format, QString& error);

// Draws `chart` offscreen into `path` (PNG or SVG by its suffix), whole or not at all; no
// display is needed. On failure `error` says why, naming the file.
bool SaveChart(LinkChart& chart, const QString& path, QString& error, QSize size = kChartFileSize);

}  // namespace charts
