#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "operations/outcomes.h"

namespace operations {

// The evaluations as CSV: seconds,sent,received,level,caption, after the `leading` columns
// (same fields on every row), with a header line when `header` names the leading columns.
QString LinkEvaluationsCsv(const std::vector<LinkEvaluation>& evaluations,
                           const QStringList& leadingHeader = {}, const QStringList& leading = {},
                           bool header = true);
// Writes that CSV into `path`, whole or not at all; false with `error` naming the file.
bool SaveLinkEvaluationsCsv(const QString& path, const std::vector<LinkEvaluation>& evaluations,
                            QString& error);

}  // namespace operations
