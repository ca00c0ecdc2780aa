#include "report.h"

#include <QJsonArray>

namespace cli {
namespace {

QJsonArray Numbers(const std::vector<int>& numbers) {
  QJsonArray array;
  for (const int n : numbers)
    array.append(n);
  return array;
}

QString Printable(const std::string& bytes) {
  QString text;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte != 0x7F && byte != '\\') {
      text += QChar(byte);
    } else {
      text += QString("\\x%1").arg(byte, 2, 16, QLatin1Char('0'));
    }
  }
  return text;
}

// A CSV field, quoted when it holds a comma, a quote or a line break.
QString CsvField(const QString& text) {
  if (!text.contains(',') && !text.contains('"') && !text.contains('\n')) return text;
  QString quoted = text;
  quoted.replace("\"", "\"\"");
  return "\"" + quoted + "\"";
}

}  // namespace

QString RegisterName(int n) {
  return QString("%1").arg(n, 2, 16, QLatin1Char('0'));
}

QStringList ReadLines(const ReadResult& result) {
  QStringList lines;
  for (const RegisterReading& reading : result.registers) {
    QString line = RegisterName(reading.n) + " ";
    line += reading.value ? QString::number(*reading.value) : QString("NO");
    if (reading.retried && reading.value) line += " retried";
    lines << line;
  }
  return lines;
}

QJsonObject ReadJson(const ReadResult& result) {
  QJsonObject registers;
  std::vector<int> unanswered;
  std::vector<int> retried;
  for (const RegisterReading& reading : result.registers) {
    if (reading.value) {
      registers[QString::number(reading.n)] = *reading.value;
    } else {
      unanswered.push_back(reading.n);
    }
    if (reading.retried && reading.value) retried.push_back(reading.n);
  }
  return {{"command", "read"},
          {"registers", registers},
          {"unanswered", Numbers(unanswered)},
          {"retried", Numbers(retried)},
          {"status", result.status},
          {"interrupted", result.interrupted}};
}

QString WriteStateName(operations::WriteState state) {
  switch (state) {
    case operations::WriteState::Confirmed:
      return "ok";
    case operations::WriteState::NotConfirmed:
      return "failed";
    case operations::WriteState::Sent:
      return "sent, not confirmed";
    case operations::WriteState::NotSent:
      return "not sent";
  }
  return {};
}

QStringList WriteLines(const WriteResult& result) {
  QStringList lines;
  for (const RegisterWrite& write : result.registers) {
    lines << QString("%1 %2 %3")
                 .arg(RegisterName(write.n))
                 .arg(write.value)
                 .arg(WriteStateName(write.state));
  }
  return lines;
}

QJsonObject WriteJson(const WriteResult& result) {
  QJsonObject registers;
  std::vector<int> confirmed;
  std::vector<int> failed;
  std::vector<int> unconfirmed;
  std::vector<int> notSent;
  for (const RegisterWrite& write : result.registers) {
    registers[QString::number(write.n)] = write.value;
    switch (write.state) {
      case operations::WriteState::Confirmed:
        confirmed.push_back(write.n);
        break;
      case operations::WriteState::NotConfirmed:
        failed.push_back(write.n);
        break;
      case operations::WriteState::Sent:
        unconfirmed.push_back(write.n);
        break;
      case operations::WriteState::NotSent:
        notSent.push_back(write.n);
        break;
    }
  }
  return {{"command", "write"},
          {"registers", registers},
          {"confirmed", Numbers(confirmed)},
          {"failed", Numbers(failed)},
          {"unconfirmed", Numbers(unconfirmed)},
          {"not_sent", Numbers(notSent)},
          {"status", result.status},
          {"interrupted", result.interrupted}};
}

QString EvaluationLine(const Evaluation& evaluation) {
  return QString("%1 s  sent %2  received %3  level %4  %5")
      .arg(evaluation.seconds, 7, 'f', 1)
      .arg(evaluation.sent)
      .arg(evaluation.received)
      .arg(evaluation.level)
      .arg(evaluation.caption);
}

QStringList LinkTestTotals(const LinkTestResult& result) {
  return {QString("Received Packets %1").arg(result.received),
          QString("Sent Packets %1").arg(result.sent),
          QString("Testing Time %1").arg(result.duration)};
}

QJsonObject LinkTestJson(const LinkTestResult& result) {
  QJsonArray evaluations;
  for (const Evaluation& evaluation : result.evaluations) {
    evaluations.append(QJsonObject{{"seconds", evaluation.seconds},
                                   {"sent", evaluation.sent},
                                   {"received", evaluation.received},
                                   {"level", evaluation.level},
                                   {"caption", evaluation.caption}});
  }
  return {{"command", "linktest"},
          {"evaluations", evaluations},
          {"sent", result.sent},
          {"received", result.received},
          {"duration", result.duration},
          {"level", result.finalLevel},
          {"interrupted", result.interrupted}};
}

QString LinkTestCsv(const LinkTestResult& result) {
  QString csv = "seconds,sent,received,level,caption\n";
  for (const Evaluation& evaluation : result.evaluations) {
    csv += QString("%1,%2,%3,%4,%5\n")
               .arg(evaluation.seconds, 0, 'f', 3)
               .arg(evaluation.sent)
               .arg(evaluation.received)
               .arg(evaluation.level)
               .arg(CsvField(evaluation.caption));
  }
  return csv;
}

QString InitializationLine(const Initialization& initialization) {
  if (!initialization.answered) return "no answer from the module";
  return QString("address %1: %2").arg(initialization.address).arg(initialization.connection);
}

QJsonObject InitializationJson(const Initialization& initialization) {
  QJsonObject json{{"answered", initialization.answered}};
  if (!initialization.answered) return json;
  json["address"] = initialization.address;
  json["master"] = initialization.master;
  json["connection"] = initialization.connection;
  return json;
}

QString BlockLine(const ReceivedBlock& block) {
  const QString from = block.from ? QString::number(*block.from) : QString("-");
  return QString("from %1: %2").arg(from, Printable(block.bytes));
}

QJsonObject BlockJson(const ReceivedBlock& block) {
  QJsonObject json{{"seconds", block.seconds},
                   {"text", QString::fromLatin1(block.bytes.data(),
                                                static_cast<qsizetype>(block.bytes.size()))}};
  if (block.from) json["from"] = *block.from;
  return json;
}

}  // namespace cli
