#pragma once

// What a port's process tells the station: one JSON object per line on its standard output,
// written and flushed as each thing happens, so that the station sees a port's progress live
// and knows what a module had reached when the process ended.

#include <QJsonObject>
#include <QString>
#include <optional>

#include "records/station_records.h"

namespace station {

// The kinds of event, in the "event" member.
inline constexpr const char* kOpened = "opened";            // device
inline constexpr const char* kWaiting = "waiting";          // no module yet
inline constexpr const char* kAlive = "alive";              // a check found nothing new
inline constexpr const char* kModule = "module";            // started: a module answered
inline constexpr const char* kReading = "reading";          // done, total
inline constexpr const char* kBefore = "before";            // registers, read_ms
inline constexpr const char* kProgramming = "programming";  // done, total
inline constexpr const char* kVerifying = "verifying";
inline constexpr const char* kDone = "done";        // verdict, detail, after, durations
inline constexpr const char* kRemoved = "removed";  // the module was taken away
inline constexpr const char* kFailed = "failed";    // the port itself failed: detail

// Writes one event line on standard output and flushes it; false when it could not.
bool Emit(const QJsonObject& event);

// One event line parsed; nothing when the line is not an event object with a known kind.
std::optional<QJsonObject> ParseEvent(const QByteArray& line);

QJsonValue RegistersJson(const records::RegisterValues& values);
std::optional<records::RegisterValues> RegistersFromJson(const QJsonValue& value);

}  // namespace station
