#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace operations {

// One evaluation of the link test (one a second): what the page shows then, and when.
struct LinkEvaluation {
  double seconds = 0;  // since TEST ON
  int sent = 0;
  int received = 0;
  int level = 0;
  QString caption;
  friend bool operator==(const LinkEvaluation&, const LinkEvaluation&) = default;
};

// What TEST OFF shows of a test, as numbers.
struct LinkTestTotals {
  double seconds = 0;  // since TEST ON
  int sent = 0;
  int received = 0;
  int finalLevel = 0;  // the level when the test was stopped
};

// Hears the link test as it runs: the charts that follow it and the record that keeps it.
class LinkTestListener {
 public:
  virtual ~LinkTestListener() = default;
  virtual void LinkTestStarted() = 0;
  virtual void LinkEvaluated(const LinkEvaluation& evaluation) = 0;
  virtual void LinkTestStopped(const LinkTestTotals& totals) = 0;
};

// The evaluations as CSV: seconds,sent,received,level,caption, after the `leading` columns
// (same fields on every row), with a header line when `header` names the leading columns.
QString LinkEvaluationsCsv(const std::vector<LinkEvaluation>& evaluations,
                           const QStringList& leadingHeader = {}, const QStringList& leading = {},
                           bool header = true);
// Writes that CSV into `path`, whole or not at all; false with `error` naming the file.
bool SaveLinkEvaluationsCsv(const QString& path, const std::vector<LinkEvaluation>& evaluations,
                            QString& error);

}  // namespace operations
