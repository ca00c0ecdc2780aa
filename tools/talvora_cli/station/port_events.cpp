#include "station/port_events.h"

#include <QJsonArray>
#include <QJsonDocument>

#include "output.h"

namespace station {

bool Emit(const QJsonObject& event) {
  const QByteArray line = QJsonDocument(event).toJson(QJsonDocument::Compact) + '\n';
  cli::output::Write(line);
  return !cli::output::Failed();
}

std::optional<QJsonObject> ParseEvent(const QByteArray& line) {
  static const QStringList kinds = {kOpened,      kWaiting,   kAlive, kModule,  kReading, kBefore,
                                    kProgramming, kVerifying, kDone,  kRemoved, kFailed};
  QJsonParseError error;
  const QJsonDocument document = QJsonDocument::fromJson(line, &error);
  if (error.error != QJsonParseError::NoError || !document.isObject()) return std::nullopt;
  const QJsonObject event = document.object();
  if (!kinds.contains(event.value("event").toString())) return std::nullopt;
  return event;
}

QJsonValue RegistersJson(const records::RegisterValues& values) {
  QJsonArray array;
  for (const auto& value : values)
    array.append(value ? QJsonValue(*value) : QJsonValue());
  return array;
}

std::optional<records::RegisterValues> RegistersFromJson(const QJsonValue& value) {
  return records::ParseRegistersText(
      QString::fromUtf8(QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact)));
}

}  // namespace station
