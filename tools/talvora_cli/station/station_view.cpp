#include "station/station_view.h"

#include <QJsonDocument>

#include "output.h"

namespace station {

void StationView::Event(const QJsonObject& event) {
  if (live_) return;
  const QByteArray line = QJsonDocument(event).toJson(QJsonDocument::Compact);
  cli::output::Write(line + '\n');
}

QString StationView::PortLine(const PortRun& port) {
  return QString("%1  %2  passed %3  failed %4")
      .arg(port.named.label, -12)
      .arg(port.state, -44)
      .arg(port.passed, 3)
      .arg(port.failed + port.interrupted, 3);
}

QString StationView::SummaryLine(const std::vector<PortRun>& ports, double hours) {
  int passed = 0;
  int failed = 0;
  for (const PortRun& port : ports) {
    passed += port.passed;
    failed += port.failed + port.interrupted;
  }
  const double perHour = hours > 0 ? (passed + failed) / hours : 0;
  return QString("%1 ports  passed %2  failed %3  %4 modules per hour")
      .arg(ports.size())
      .arg(passed)
      .arg(failed)
      .arg(perHour, 0, 'f', 0);
}

void StationView::Redraw(const std::vector<PortRun>& ports, double hours) {
  if (!live_) return;
  QByteArray text;
  // Back to the first line drawn, then every line cleared and drawn again.
  if (drawn_ > 0) text += "\r\x1b[" + QByteArray::number(drawn_) + "A";
  for (const PortRun& port : ports)
    text += "\r\x1b[2K" + PortLine(port).toLocal8Bit() + "\n";
  text += "\r\x1b[2K" + SummaryLine(ports, hours).toLocal8Bit() + "\n";
  drawn_ = static_cast<int>(ports.size()) + 1;
  cli::output::Write(text);
}

}  // namespace station
