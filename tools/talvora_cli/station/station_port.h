#pragma once

#include <QElapsedTimer>
#include <QString>
#include <memory>
#include <optional>

#include "records/station_records.h"

class QProcess;

namespace station {

// A port as the operator named it, with what is known of the device behind it.
struct NamedPort {
  QString name;           // as given: COM2, /dev/ttyUSB0, sim:...
  QString label;          // the short name the live view shows
  QString device;         // the device it opens
  QString adapter;        // the adapter's stable name, where known
  QString adapterSerial;  // the adapter's serial number, where known
};

// What the station knows of one port while it runs: its process, the module in hand and its
// counts.
struct PortRun {
  NamedPort named;
  std::unique_ptr<QProcess> process;
  QByteArray pending;  // output not yet ended by a newline
  QString lastError;   // the process's last line on standard error
  QString state = "starting";
  std::optional<records::StationModule> module;  // the module in hand, as far as reported
  QElapsedTimer lastEvent;
  int passed = 0;
  int failed = 0;
  int interrupted = 0;
  bool cannotOpen = false;
  bool hung = false;
  bool finished = false;
};

}  // namespace station
