#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <array>
#include <optional>
#include <vector>

#include "records/record_database.h"

namespace records {

inline constexpr int kModuleRegisters = 32;
using RegisterValues = std::array<std::optional<int>, kModuleRegisters>;

// One module that a programming station handled.
struct StationModule {
  QDateTime started;  // UTC
  QDateTime finished;
  QString host;
  QString port;           // the name the operator gave: COM2, or the device path
  QString device;         // the device it opened
  QString adapter;        // the adapter's stable name (/dev/serial/by-id/...), where known
  QString adapterSerial;  // its serial number, where known
  QString profile;        // the profile's path
  QString profileSha256;  // of the profile's canonical content
  RegisterValues before;  // all registers as read first; none where unanswered
  RegisterValues after;   // the profile's registers as verified; none elsewhere
  QString verdict;        // pass, fail or interrupted
  QString detail;         // what failed; empty for a pass
  std::optional<qint64> readMs;
  std::optional<qint64> programMs;
  std::optional<qint64> verifyMs;
  qint64 totalMs = 0;
};

// Which rows to list; empty fields select everything.
struct StationFilter {
  std::optional<QDateTime> since;  // started at or after
  QString port;                    // the port's name or its device
  QString verdict;
};

// The station's rows in the records database: one transaction per module, bound values only.
class StationRecords {
 public:
  explicit StationRecords(RecordDatabase& database) : database_(database) {}

  bool Add(const StationModule& module, QString& error);
  std::optional<std::vector<StationModule>> List(const StationFilter& filter, QString& error);

 private:
  RecordDatabase& database_;
};

// The verdicts a row may have.
bool IsVerdict(const QString& text);

// Register lists as kept in a row: a JSON array of 32 numbers or nulls.
QString RegistersText(const RegisterValues& values);
std::optional<RegisterValues> ParseRegistersText(const QString& text);

// The columns, in order, as `records` prints them.
QStringList StationColumns();
QStringList StationRow(const StationModule& module);  // texts of StationColumns()
QJsonObject StationJson(const StationModule& module);

}  // namespace records
