#pragma once

#include <QJsonObject>
#include <QString>
#include <vector>

#include "station/station_port.h"

namespace station {

// What the station shows: on a terminal, one line per port redrawn in place and a summary
// line; otherwise one JSON object per line for every event.
class StationView {
 public:
  explicit StationView(bool live) : live_(live) {}

  bool Live() const { return live_; }
  // One event line, when not live.
  void Event(const QJsonObject& event);
  // The ports' lines and the summary, when live.
  void Redraw(const std::vector<PortRun>& ports, double hours);

  // The summary's texts, for both faces.
  static QString PortLine(const PortRun& port);
  static QString SummaryLine(const std::vector<PortRun>& ports, double hours);

 private:
  bool live_;
  int drawn_ = 0;  // lines drawn last time, to go back over
};

}  // namespace station
