#include "charts/link_chart.h"

#include <QAreaSeries>
#include <QChart>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace charts {
namespace {

constexpr QRgb kGreen = qRgb(0, 255, 0);
constexpr QRgb kGrey = qRgb(192, 192, 192);
constexpr QRgb kRed = qRgb(255, 0, 0);
constexpr int kBandAlpha = 80;
constexpr double kLevelTop = 5.25;
constexpr double kLevelBottom = -0.25;
// The shortest time axis: a test of a few seconds still reads as seconds.
constexpr double kShortestSeconds = 10;
constexpr qreal kLevelShare = 0.58;  // of the height, for the level chart
constexpr qreal kMarkerSize = 7;
constexpr double kMostTimeTicks = 10;
constexpr double kMostPacketTicks = 5;
// An evaluation comes a little after its whole second: 20.001 s still ends a 20 s axis.
constexpr double kTimeSlack = 0.05;

// Colours of the runs, none of them a lamp's, so that a curve never hides in a band.
const QColor kRunColours[] = {QColor(0, 0, 160), QColor(200, 90, 0), QColor(130, 0, 160),
                              QColor(0, 120, 130)};

QColor RunColour(int run) {
  return kRunColours[static_cast<std::size_t>(run) % std::size(kRunColours)];
}

struct Band {
  double from;
  double to;
  QRgb colour;
  const char* name;
};
const Band kBands[] = {{kLevelBottom, 1.5, kRed, "No Connection"},
                       {1.5, 3.5, kGrey, "Difficult Connection"},
                       {3.5, kLevelTop, kGreen, "OK, Connection"}};

QValueAxis* AddAxis(QChart* chart, Qt::Alignment side, const QString& title) {
  auto* axis = new QValueAxis;
  axis->setTitleText(title);
  chart->addAxis(axis, side);
  return axis;
}

void Attach(QChart* chart, QAbstractSeries* series, QValueAxis* x, QValueAxis* y) {
  chart->addSeries(series);
  series->attachAxis(x);
  series->attachAxis(y);
}

// Sets `axis` from 0 to `most` rounded up to a whole step, with steps of 1, 2 or 5 times a
// power of ten, at most `mostTicks` of them; returns the axis's end.
double Round(double most, QValueAxis* axis, double mostTicks) {
  double step = 1;
  for (double scale = 1;; scale *= 10) {
    const double steps[] = {scale, 2 * scale, 5 * scale};
    const auto fits = std::find_if(std::begin(steps), std::end(steps),
                                   [&](double s) { return most / s <= mostTicks; });
    if (fits != std::end(steps)) {
      step = *fits;
      break;
    }
  }
  const double end = std::max(step, std::ceil(most / step) * step);
  axis->setRange(0, end);
  axis->setTickType(QValueAxis::TicksDynamic);
  axis->setTickAnchor(0);
  axis->setTickInterval(step);
  axis->setLabelFormat("%d");
  return end;
}

QChart* NewChart(const QString& title) {
  auto* chart = new QChart;
  chart->setTitle(title);
  chart->setAnimationOptions(QChart::NoAnimation);
  chart->setBackgroundRoundness(0);
  chart->legend()->setAlignment(Qt::AlignBottom);
  return chart;
}

}  // namespace

struct LinkChart::RunSeries {
  QLineSeries* level = nullptr;      // the step line
  QScatterSeries* points = nullptr;  // one marker per evaluation
  QLineSeries* sent = nullptr;
  QLineSeries* answered = nullptr;
  QScatterSeries* lost = nullptr;
};

LinkChart::LinkChart(QObject* parent)
    : QObject(parent),
      level_(NewChart("Link quality level")),
      packets_(NewChart("Packets per evaluation")) {
  scene_.addItem(level_);
  scene_.addItem(packets_);
  levelTime_ = AddAxis(level_, Qt::AlignBottom, "Seconds since TEST ON (s)");
  levelAxis_ = AddAxis(level_, Qt::AlignLeft, "Level (0-5)");
  levelAxis_->setRange(kLevelBottom, kLevelTop);
  levelAxis_->setTickType(QValueAxis::TicksDynamic);
  levelAxis_->setTickAnchor(0);
  levelAxis_->setTickInterval(1);
  levelAxis_->setLabelFormat("%d");
  packetTime_ = AddAxis(packets_, Qt::AlignBottom, "Seconds since TEST ON (s)");
  packetAxis_ = AddAxis(packets_, Qt::AlignLeft, "Packets");
  packetAxis_->setLabelFormat("%d");
  for (const Band& band : kBands) {
    auto* lower = new QLineSeries(this);
    auto* upper = new QLineSeries(this);
    lower->setObjectName(QString("band %1 lower").arg(band.name));
    upper->setObjectName(QString("band %1 upper").arg(band.name));
    auto* area = new QAreaSeries(upper, lower);
    area->setName(band.name);
    area->setObjectName(QString("band %1").arg(band.name));
    QColor fill = QColor::fromRgb(band.colour);
    fill.setAlpha(kBandAlpha);
    area->setBrush(fill);
    area->setPen(Qt::NoPen);
    Attach(level_, area, levelTime_, levelAxis_);
    for (QLegendMarker* marker : level_->legend()->markers(area))
      marker->setVisible(false);
    bandEdges_.push_back(lower);
    bandEdges_.push_back(upper);
  }
  FitAxes();
}

LinkChart::~LinkChart() {
  // The scene owns the charts; they go before the series objects this owns.
  scene_.clear();
}

void LinkChart::Show(const std::vector<LinkRun>& runs) {
  for (RunSeries& series : series_) {
    for (QAbstractSeries* one : std::initializer_list<QAbstractSeries*>{
             series.level, series.points, series.sent, series.answered, series.lost}) {
      one->chart()->removeSeries(one);
      delete one;
    }
  }
  series_.clear();
  runs_.clear();
  for (const LinkRun& run : runs) {
    runs_.push_back({run.name, {}});
    AddRunSeries(static_cast<int>(runs_.size()) - 1);
    for (const operations::LinkEvaluation& evaluation : run.evaluations)
      Append(evaluation);
  }
  const bool several = runs_.size() > 1;
  level_->setTitle(several ? "Link quality level: comparison" : "Link quality level");
  FitAxes();
}

void LinkChart::AddRunSeries(int run) {
  const QString name = runs_[static_cast<std::size_t>(run)].name;
  const QColor colour = RunColour(run);
  RunSeries series;
  series.level = new QLineSeries;
  series.level->setName(name);
  series.level->setObjectName(QString("level %1").arg(run));
  series.level->setPen(QPen(colour, 2.5));
  Attach(level_, series.level, levelTime_, levelAxis_);

  series.points = new QScatterSeries;
  series.points->setObjectName(QString("evaluations %1").arg(run));
  series.points->setMarkerSize(kMarkerSize);
  series.points->setColor(colour);
  series.points->setBorderColor(colour);
  Attach(level_, series.points, levelTime_, levelAxis_);
  for (QLegendMarker* marker : level_->legend()->markers(series.points))
    marker->setVisible(false);
  connect(series.points, &QScatterSeries::hovered, this,
          [this, run](const QPointF& point, bool state) { Hovered(run, point, state); });

  // The run's colour ties its packets to its level curve; the legend names the kinds once.
  series.sent = new QLineSeries;
  series.sent->setName("sent (dashed)");
  series.sent->setObjectName(QString("sent %1").arg(run));
  series.sent->setPen(QPen(colour, 1.5, Qt::DashLine));
  Attach(packets_, series.sent, packetTime_, packetAxis_);
  series.answered = new QLineSeries;
  series.answered->setName("answered");
  series.answered->setObjectName(QString("answered %1").arg(run));
  series.answered->setPen(QPen(colour, 2.5));
  Attach(packets_, series.answered, packetTime_, packetAxis_);
  series.lost = new QScatterSeries;
  series.lost->setName("lost");
  series.lost->setObjectName(QString("lost %1").arg(run));
  series.lost->setMarkerSize(kMarkerSize + 2);
  series.lost->setColor(QColor::fromRgb(kRed));
  series.lost->setBorderColor(colour);
  Attach(packets_, series.lost, packetTime_, packetAxis_);
  if (run > 0) {
    for (QAbstractSeries* one :
         std::initializer_list<QAbstractSeries*>{series.sent, series.answered, series.lost}) {
      for (QLegendMarker* marker : packets_->legend()->markers(one))
        marker->setVisible(false);
    }
  }
  connect(series.lost, &QScatterSeries::hovered, this,
          [this, run](const QPointF& point, bool state) { Hovered(run, point, state); });
  series_.push_back(series);
}

void LinkChart::Append(const operations::LinkEvaluation& evaluation) {
  if (runs_.empty()) {
    runs_.push_back({QString(), {}});
    AddRunSeries(0);
  }
  LinkRun& run = runs_.back();
  const operations::LinkEvaluation* previous =
      run.evaluations.empty() ? nullptr : &run.evaluations.back();
  AddPoint(series_.back(), evaluation, previous);
  run.evaluations.push_back(evaluation);
  FitAxes();
}

void LinkChart::AddPoint(RunSeries& series, const operations::LinkEvaluation& evaluation,
                         const operations::LinkEvaluation* previous) {
  const double t = evaluation.seconds;
  // A step: the level holds until the evaluation that changes it.
  if (previous != nullptr) series.level->append(t, previous->level);
  series.level->append(t, evaluation.level);
  series.points->append(t, evaluation.level);
  series.sent->append(t, evaluation.sent);
  series.answered->append(t, evaluation.received);
  const int sentNow = evaluation.sent - (previous ? previous->sent : 0);
  const int answeredNow = evaluation.received - (previous ? previous->received : 0);
  if (sentNow > answeredNow) series.lost->append(t, evaluation.sent);
}

void LinkChart::FitAxes() {
  double longest = kShortestSeconds;
  int most = 1;
  for (const LinkRun& run : runs_) {
    if (run.evaluations.empty()) continue;
    longest = std::max(longest, std::ceil(run.evaluations.back().seconds - kTimeSlack));
    most = std::max(most, run.evaluations.back().sent);
  }
  const double right = Round(longest, levelTime_, kMostTimeTicks);
  Round(longest, packetTime_, kMostTimeTicks);
  Round(most, packetAxis_, kMostPacketTicks);
  bool named = false;
  for (const LinkRun& run : runs_)
    named = named || !run.name.isEmpty();
  level_->legend()->setVisible(named);
  for (std::size_t i = 0; i < std::size(kBands); ++i) {
    bandEdges_[2 * i]->replace(QList<QPointF>{{0, kBands[i].from}, {right, kBands[i].from}});
    bandEdges_[2 * i + 1]->replace(QList<QPointF>{{0, kBands[i].to}, {right, kBands[i].to}});
  }
}

void LinkChart::Resize(const QSizeF& size) {
  const qreal levelHeight = std::round(size.height() * kLevelShare);
  level_->setGeometry(QRectF(0, 0, size.width(), levelHeight));
  packets_->setGeometry(QRectF(0, levelHeight, size.width(), size.height() - levelHeight));
  scene_.setSceneRect(QRectF(QPointF(0, 0), size));
}

QString LinkChart::PointText(const QString& run, const operations::LinkEvaluation& evaluation) {
  QString text = run.isEmpty() ? QString() : run + "\n";
  return text + QString("%1 s since TEST ON\nsent %2, answered %3\nlevel %4: %5")
                    .arg(evaluation.seconds, 0, 'f', 1)
                    .arg(evaluation.sent)
                    .arg(evaluation.received)
                    .arg(evaluation.level)
                    .arg(evaluation.caption);
}

void LinkChart::Hovered(int run, const QPointF& point, bool state) {
  if (!state) {
    emit PointHovered(QString());
    return;
  }
  const LinkRun& shown = runs_.at(static_cast<std::size_t>(run));
  const auto nearest = std::min_element(
      shown.evaluations.begin(), shown.evaluations.end(), [&](const auto& a, const auto& b) {
        return std::abs(a.seconds - point.x()) < std::abs(b.seconds - point.x());
      });
  if (nearest != shown.evaluations.end()) emit PointHovered(PointText(shown.name, *nearest));
}

}  // namespace charts
