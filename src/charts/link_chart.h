#pragma once

#include <QGraphicsScene>
#include <QObject>
#include <QString>
#include <vector>

#include "operations/link_evaluation.h"

class QChart;
class QLineSeries;
class QScatterSeries;
class QValueAxis;

namespace charts {

// One link test on the chart: its name in the legend and its evaluations.
struct LinkRun {
  QString name;
  std::vector<operations::LinkEvaluation> evaluations;
};

// The link over time, for the window and for files alike: above, the level 0 to 5 as a step
// line over the lamp's colours (red no link, grey difficult, green good), with a marker per
// evaluation; below, the packets sent and answered so far, lost packets as red markers.
// Several runs overlay, each in its own colour.
class LinkChart : public QObject {
  Q_OBJECT

 public:
  explicit LinkChart(QObject* parent = nullptr);
  ~LinkChart() override;

  QGraphicsScene& Scene() { return scene_; }
  QChart* LevelChart() const { return level_; }
  QChart* PacketChart() const { return packets_; }

  // Replaces what the chart shows.
  void Show(const std::vector<LinkRun>& runs);
  // Adds one evaluation to the last run shown (a running test).
  void Append(const operations::LinkEvaluation& evaluation);
  const std::vector<LinkRun>& Runs() const { return runs_; }

  // Lays both charts out in a scene of `size`, the level above.
  void Resize(const QSizeF& size);

  // What a point's tooltip says.
  static QString PointText(const QString& run, const operations::LinkEvaluation& evaluation);

 signals:
  // The mouse came over a point (`text` its tooltip) or left it (`text` empty).
  void PointHovered(const QString& text);

 private:
  struct RunSeries;

  void AddRunSeries(int run);
  void AddPoint(RunSeries& series, const operations::LinkEvaluation& evaluation,
                const operations::LinkEvaluation* previous);
  void FitAxes();
  void Hovered(int run, const QPointF& point, bool state);

  QGraphicsScene scene_;
  QChart* level_;
  QChart* packets_;
  QValueAxis* levelTime_;
  QValueAxis* levelAxis_;
  QValueAxis* packetTime_;
  QValueAxis* packetAxis_;
  std::vector<QLineSeries*> bandEdges_;  // the upper edge of each band
  std::vector<LinkRun> runs_;
  std::vector<RunSeries> series_;
};

}  // namespace charts
