#pragma once

// The programming station: a process per port (this program again, with the hidden
// subcommand station-port), each running one port's job and reporting events; the station
// gathers them, shows them, records every module and watches the processes, so that a port
// that fails, hangs or crashes is that port's failure only.

#include <QJsonObject>
#include <QObject>
#include <QTimer>
#include <vector>

#include "operations/register_profile.h"
#include "records/station_records.h"
#include "station/station_port.h"
#include "station/station_view.h"

namespace station {

struct StationOptions {
  std::vector<NamedPort> ports;
  QString profilePath;
  operations::RegisterProfile profile;
  bool once = false;
  bool remote = false;
  bool json = false;
  double waitSeconds = 0;
};

class Station : public QObject {
 public:
  Station(StationOptions options, records::RecordDatabase& database);
  ~Station() override;

  // Starts every port's process and runs until all have ended; returns the exit status.
  int Run();

 private:
  void Start(PortRun& port);
  void OnOutput(PortRun& port);
  void OnEvent(PortRun& port, const QJsonObject& event);
  void OnFinished(PortRun& port, int code, bool crashed);
  void Record(PortRun& port, const QString& verdict, const QString& detail);
  void Watch();
  void Stop();

  StationOptions options_;
  records::StationRecords records_;
  QString host_;
  QString profileSha256_;
  std::vector<PortRun> ports_;
  StationView view_;
  QTimer watch_;
  QTimer grace_;  // after a stop, ends the ports' processes that did not stop
  bool stopping_ = false;
  bool recordFailed_ = false;
  int running_ = 0;
};

}  // namespace station
