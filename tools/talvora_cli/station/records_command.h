#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

#include "records/station_records.h"

namespace station {

// `records`: lists the kept records of one kind, filtered, as a table, CSV or JSON.
struct RecordsOptions {
  QString database;
  QString kind = "station";
  records::StationFilter filter;
  enum class Format { Table, Csv, Json } format = Format::Table;
};

int RunRecords(const RecordsOptions& options);

// --since: a date (taken as midnight UTC) or a date and time in ISO 8601; nothing when the
// text is neither.
std::optional<QDateTime> ParseSince(const QString& text);

// The kinds of record `records --kind` knows, the first the default.
QStringList RecordKinds();

// One CSV field, quoted when it holds a comma, a quote or a line break.
QString CsvField(const QString& text);

}  // namespace station
