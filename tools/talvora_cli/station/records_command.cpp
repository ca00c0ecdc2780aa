#include "station/records_command.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <cstdio>
#include <functional>
#include <map>

#include "commands.h"
#include "output.h"

namespace station {
namespace {

int StationRecordsList(records::RecordDatabase& database, const RecordsOptions& options) {
  records::StationRecords store(database);
  QString error;
  const auto rows = store.List(options.filter, error);
  if (!rows) return cli::UsageError(error);
  QByteArray text;
  if (options.format == RecordsOptions::Format::Json) {
    QJsonArray array;
    for (const records::StationModule& row : *rows)
      array.append(records::StationJson(row));
    text = QJsonDocument(array).toJson(QJsonDocument::Indented);
  } else if (options.format == RecordsOptions::Format::Csv) {
    text = records::StationColumns().join(',').toUtf8() + "\r\n";
    for (const records::StationModule& row : *rows) {
      QStringList fields;
      for (const QString& field : records::StationRow(row))
        fields << CsvField(field);
      text += fields.join(',').toUtf8() + "\r\n";
    }
  } else {
    for (const records::StationModule& row : *rows) {
      text += QString("%1  %2  %3  %4  %5\n")
                  .arg(row.started.toUTC().toString(Qt::ISODate), row.port, row.verdict,
                       row.profile, row.detail)
                  .toLocal8Bit();
    }
  }
  // Standard output that fails is said once, as the command ends.
  cli::output::Write(text);
  return cli::kAllConfirmed;
}

using Lister = std::function<int(records::RecordDatabase&, const RecordsOptions&)>;

const std::map<QString, Lister>& Listers() {
  static const std::map<QString, Lister> listers = {{"station", StationRecordsList}};
  return listers;
}

}  // namespace

QStringList RecordKinds() {
  QStringList kinds{"station", "linktest"};
  for (const auto& [kind, lister] : Listers())
    if (!kinds.contains(kind)) kinds << kind;
  return kinds;
}

QString CsvField(const QString& text) {
  if (!text.contains(QRegularExpression("[,\"\r\n]"))) return text;
  return '"' + QString(text).replace("\"", "\"\"") + '"';
}

std::optional<QDateTime> ParseSince(const QString& text) {
  static const QRegularExpression date("^\\d{4}-\\d{2}-\\d{2}$");
  static const QRegularExpression dateTime(
      "^\\d{4}-\\d{2}-\\d{2}T\\d{2}:\\d{2}(:\\d{2}(\\.\\d{1,3})?)?(Z|[+-]\\d{2}:\\d{2})?$");
  if (date.match(text).hasMatch()) {
    const QDate day = QDate::fromString(text, Qt::ISODate);
    if (!day.isValid()) return std::nullopt;
    return QDateTime(day, QTime(0, 0), Qt::UTC);
  }
  if (!dateTime.match(text).hasMatch()) return std::nullopt;
  QDateTime time = QDateTime::fromString(text, Qt::ISODateWithMs);
  if (!time.isValid()) return std::nullopt;
  // Without a zone the time is UTC, as the records keep it.
  if (!text.endsWith('Z') && !text.contains(QRegularExpression("[+-]\\d{2}:\\d{2}$")))
    time.setTimeSpec(Qt::UTC);
  return time.toUTC();
}

int RunRecords(const RecordsOptions& options) {
  const auto lister = Listers().find(options.kind);
  if (lister == Listers().end())
    return cli::UsageError(
        QString("--kind '%1' is not one of %2").arg(options.kind, RecordKinds().join(", ")));
  records::RecordDatabase database;
  if (!database.open(options.database)) {
    std::fprintf(stderr, "talvora-cli: %s\n", database.error().toLocal8Bit().constData());
    return cli::kBadUsage;
  }
  return lister->second(database, options);
}

}  // namespace station
