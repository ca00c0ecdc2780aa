#include "records/station_records.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlError>
#include <QSqlQuery>

namespace records {
namespace {

QString Timestamp(const QDateTime& time) {
  return time.toUTC().toString(Qt::ISODateWithMs);
}

QVariant Nullable(const std::optional<qint64>& value) {
  return value ? QVariant(*value) : QVariant(QMetaType(QMetaType::LongLong));
}

QVariant Nullable(const QString& text) {
  return text.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(text);
}

// A text column that is never null: an empty text stays empty, whether or not Qt calls it null.
QVariant Text(const QString& text) {
  return QVariant(text.isNull() ? QString("") : text);
}

std::optional<qint64> OptionalNumber(const QVariant& value) {
  if (value.isNull()) return std::nullopt;
  return value.toLongLong();
}

QJsonValue JsonNumber(const std::optional<qint64>& value) {
  return value ? QJsonValue(*value) : QJsonValue();
}

QJsonArray RegistersJson(const RegisterValues& values) {
  QJsonArray array;
  for (const auto& value : values)
    array.append(value ? QJsonValue(*value) : QJsonValue());
  return array;
}

constexpr const char* kColumns =
    "started, finished, host, port, device, adapter, adapter_serial, profile, profile_sha256, "
    "before, after, verdict, detail, read_ms, program_ms, verify_ms, total_ms";

}  // namespace

bool IsVerdict(const QString& text) {
  return text == "pass" || text == "fail" || text == "interrupted";
}

QString RegistersText(const RegisterValues& values) {
  return QString::fromUtf8(QJsonDocument(RegistersJson(values)).toJson(QJsonDocument::Compact));
}

std::optional<RegisterValues> ParseRegistersText(const QString& text) {
  QJsonParseError error;
  const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &error);
  if (error.error != QJsonParseError::NoError || !document.isArray() ||
      document.array().size() != kModuleRegisters)
    return std::nullopt;
  RegisterValues values;
  for (int n = 0; n < kModuleRegisters; ++n) {
    const QJsonValue value = document.array().at(n);
    if (value.isNull()) continue;
    const double number = value.toDouble(-1);
    if (!value.isDouble() || number < 0 || number > 255 || number != static_cast<int>(number))
      return std::nullopt;
    values[static_cast<std::size_t>(n)] = static_cast<int>(number);
  }
  return values;
}

bool StationRecords::Add(const StationModule& m, QString& error) {
  if (!IsVerdict(m.verdict)) {
    error = "not a verdict: '" + m.verdict + "'";
    return false;
  }
  QString failure;
  const bool done = database_.transact([&](QSqlDatabase& db) {
    QSqlQuery query(db);
    query.prepare(QStringLiteral("INSERT INTO station_modules (%1) VALUES "
                                 "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                      .arg(kColumns));
    for (const QVariant& value :
         {QVariant(Timestamp(m.started)), QVariant(Timestamp(m.finished)), Text(m.host),
          Text(m.port), Text(m.device), Nullable(m.adapter), Nullable(m.adapterSerial),
          Text(m.profile), Text(m.profileSha256), QVariant(RegistersText(m.before)),
          QVariant(RegistersText(m.after)), Text(m.verdict), Text(m.detail), Nullable(m.readMs),
          Nullable(m.programMs), Nullable(m.verifyMs), QVariant(m.totalMs)})
      query.addBindValue(value);
    if (query.exec()) return true;
    failure = describeSqlError(query.lastError());
    return false;
  });
  if (!done) error = failure.isEmpty() ? database_.error() : database_.path() + ": " + failure;
  return done;
}

std::optional<std::vector<StationModule>> StationRecords::List(const StationFilter& filter,
                                                               QString& error) {
  QSqlQuery query(database_.connection());
  query.setForwardOnly(true);
  query.prepare(QStringLiteral("SELECT %1 FROM station_modules WHERE "
                               "(:since IS NULL OR started >= :since) AND "
                               "(:port IS NULL OR port = :port OR device = :port) AND "
                               "(:verdict IS NULL OR verdict = :verdict) ORDER BY started, id")
                    .arg(kColumns));
  query.bindValue(":since", filter.since ? QVariant(Timestamp(*filter.since))
                                         : QVariant(QMetaType(QMetaType::QString)));
  query.bindValue(":port", Nullable(filter.port));
  query.bindValue(":verdict", Nullable(filter.verdict));
  if (!query.exec()) {
    error = database_.path() + ": " + describeSqlError(query.lastError());
    return std::nullopt;
  }
  std::vector<StationModule> rows;
  while (query.next()) {
    StationModule m;
    m.started = QDateTime::fromString(query.value(0).toString(), Qt::ISODateWithMs);
    m.finished = QDateTime::fromString(query.value(1).toString(), Qt::ISODateWithMs);
    m.host = query.value(2).toString();
    m.port = query.value(3).toString();
    m.device = query.value(4).toString();
    m.adapter = query.value(5).toString();
    m.adapterSerial = query.value(6).toString();
    m.profile = query.value(7).toString();
    m.profileSha256 = query.value(8).toString();
    const auto before = ParseRegistersText(query.value(9).toString());
    const auto after = ParseRegistersText(query.value(10).toString());
    if (!before || !after) {
      error = database_.path() + ": a row's registers are not 32 values";
      return std::nullopt;
    }
    m.before = *before;
    m.after = *after;
    m.verdict = query.value(11).toString();
    m.detail = query.value(12).toString();
    m.readMs = OptionalNumber(query.value(13));
    m.programMs = OptionalNumber(query.value(14));
    m.verifyMs = OptionalNumber(query.value(15));
    m.totalMs = query.value(16).toLongLong();
    rows.push_back(std::move(m));
  }
  return rows;
}

QStringList StationColumns() {
  return QString(kColumns).split(", ");
}

QStringList StationRow(const StationModule& m) {
  const auto number = [](const std::optional<qint64>& v) {
    return v ? QString::number(*v) : QString();
  };
  return {Timestamp(m.started),
          Timestamp(m.finished),
          m.host,
          m.port,
          m.device,
          m.adapter,
          m.adapterSerial,
          m.profile,
          m.profileSha256,
          RegistersText(m.before),
          RegistersText(m.after),
          m.verdict,
          m.detail,
          number(m.readMs),
          number(m.programMs),
          number(m.verifyMs),
          QString::number(m.totalMs)};
}

QJsonObject StationJson(const StationModule& m) {
  return {
      {"kind", "station"},
      {"started", Timestamp(m.started)},
      {"finished", Timestamp(m.finished)},
      {"host", m.host},
      {"port", m.port},
      {"device", m.device},
      {"adapter", m.adapter.isEmpty() ? QJsonValue() : QJsonValue(m.adapter)},
      {"adapter_serial", m.adapterSerial.isEmpty() ? QJsonValue() : QJsonValue(m.adapterSerial)},
      {"profile", m.profile},
      {"profile_sha256", m.profileSha256},
      {"before", RegistersJson(m.before)},
      {"after", RegistersJson(m.after)},
      {"verdict", m.verdict},
      {"detail", m.detail},
      {"read_ms", JsonNumber(m.readMs)},
      {"program_ms", JsonNumber(m.programMs)},
      {"verify_ms", JsonNumber(m.verifyMs)},
      {"total_ms", m.totalMs}};
}

}  // namespace records
