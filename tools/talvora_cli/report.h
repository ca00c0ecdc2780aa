#pragma once

// What talvora-cli prints: lines for a person, or one JSON document for a program.

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include "eeprom_job.h"
#include "link_test_job.h"
#include "terminal_job.h"

namespace cli {

// A register as the selector caption names it: two lower-case hex digits.
QString RegisterName(int n);

// "00 7", "03 17 retried", "05 NO".
QStringList ReadLines(const ReadResult& result);
QJsonObject ReadJson(const ReadResult& result);

// "01 12 ok", "02 7 failed", and in a run cut short "03 9 sent, not confirmed", "04 5 not sent".
QString WriteStateName(operations::WriteState state);
QStringList WriteLines(const WriteResult& result);
QJsonObject WriteJson(const WriteResult& result);

QString EvaluationLine(const Evaluation& evaluation);
QStringList LinkTestTotals(const LinkTestResult& result);
QJsonObject LinkTestJson(const LinkTestResult& result);
// The evaluations as CSV, with a header line.
QString LinkTestCsv(const LinkTestResult& result);

QString InitializationLine(const Initialization& initialization);
QJsonObject InitializationJson(const Initialization& initialization);
// "from 5: hello", non-printable bytes as \xNN.
QString BlockLine(const ReceivedBlock& block);
QJsonObject BlockJson(const ReceivedBlock& block);

}  // namespace cli
