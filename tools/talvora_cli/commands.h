#pragma once

#include <QString>
#include <QStringList>

namespace cli {

// Exit statuses.
inline constexpr int kAllConfirmed = 0;
inline constexpr int kNotConfirmed = 1;
inline constexpr int kBadUsage = 2;
inline constexpr int kInterrupted = 130;

struct Options {
  QString port = "COM1";
  bool remote = false;
  bool json = false;
  double seconds = 0;  // 0: not given
  QString csv;
  QString plot;    // linktest: the chart's file
  QString record;  // the records database, when not the default one
  QString label;   // linktest: kept with the test
  QString kind;    // records: which records
  QString to;
  QString command;
  QStringList arguments;  // what follows the command
};

// Checks the command's arguments, opens the port, runs the command, prints what it found and
// closes the port; returns the exit status.
int RunCommand(const Options& options);

// Writes a usage error on standard error; returns kBadUsage.
int UsageError(const QString& message);

}  // namespace cli
