#pragma once

#include <QString>
#include <QStringList>
#include <optional>

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
  std::optional<QString> seconds;  // as given
  QString csv;
  std::optional<QString> to;
  QString plot;    // linktest: the chart's file
  QString record;  // the records database, when not the default one
  QString label;   // linktest: kept with the test
  QString kind;    // records: which records
  QString command;
  QStringList arguments;  // what follows the command
};

// Checks the command's arguments, opens the port, runs the command, prints what it found and
// closes the port; returns the exit status.
int RunCommand(const Options& options);

// Writes a usage error on standard error; returns kBadUsage.
int UsageError(const QString& message);

// Writes a refusal that says itself what is accepted; returns kBadUsage.
int Refuse(const QString& message);

// Whether the file `path` (if any) can be written when the command has done its work, checked
// before it starts: reading a module or testing a link takes a while. Says why not.
bool WritableLater(const QString& path);

// Writes what is still waiting for standard output, then the exit status: `status`, or what
// an interruption or an output that could not be written makes of it.
int Finish(int status);

}  // namespace cli
