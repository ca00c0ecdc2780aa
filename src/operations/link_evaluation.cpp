#include "operations/link_evaluation.h"

#include "files/safe_file_qt.h"

namespace operations {
namespace {

// A CSV field, quoted when it holds a comma, a quote or a line break.
QString CsvField(const QString& text) {
  if (!text.contains(',') && !text.contains('"') && !text.contains('\n')) return text;
  QString quoted = text;
  quoted.replace("\"", "\"\"");
  return "\"" + quoted + "\"";
}

}  // namespace

QString LinkEvaluationsCsv(const std::vector<LinkEvaluation>& evaluations,
                           const QStringList& leadingHeader, const QStringList& leading,
                           bool header) {
  QString csv;
  if (header) {
    for (const QString& column : leadingHeader)
      csv += column + ",";
    csv += "seconds,sent,received,level,caption\n";
  }
  QString first;
  for (const QString& field : leading)
    first += CsvField(field) + ",";
  for (const LinkEvaluation& evaluation : evaluations) {
    csv += first + QString("%1,%2,%3,%4,%5\n")
                       .arg(evaluation.seconds, 0, 'f', 3)
                       .arg(evaluation.sent)
                       .arg(evaluation.received)
                       .arg(evaluation.level)
                       .arg(CsvField(evaluation.caption));
  }
  return csv;
}

bool SaveLinkEvaluationsCsv(const QString& path, const std::vector<LinkEvaluation>& evaluations,
                            QString& error) {
  return files::ReplaceFile(path, LinkEvaluationsCsv(evaluations).toUtf8(), error);
}

}  // namespace operations
