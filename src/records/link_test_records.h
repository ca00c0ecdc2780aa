#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "operations/outcomes.h"

class QSqlQuery;

namespace records {

class RecordDatabase;

// The tables of kept link tests, as a step of the records' schema. A test's row is written at
// TEST ON and marked finished at TEST OFF; each evaluation is a row of its own, committed as it
// comes, so a test cut short by a crash keeps what it had and never reads as finished.
QStringList linkTestTables();

// Where and how a test ran.
struct LinkTestSetting {
  QDateTime started;  // UTC
  QString port;       // "COM1", "sim"
  QString device;     // what the port opened
  QString module;     // "host" or "remote"
  QString label;      // the operator's words: a place, an antenna; may be empty
};

// The longest label a test keeps, in characters.
inline constexpr int kLongestLabel = 200;

// A label as the operator gave it, without the spaces around it; nothing, with `error` quoting
// it, when it holds a control character or is longer than kLongestLabel.
std::optional<QString> ParseLabel(const QString& text, QString& error);

enum class LinkTestState { Running, Finished, Interrupted };
QString StateName(LinkTestState state);

// What TEST OFF showed of a test, as numbers.
struct LinkTestTotals {
  double seconds = 0;  // from TEST ON
  int sent = 0;
  int received = 0;
  int finalLevel = 0;  // the level when the test was stopped
};

struct KeptLinkTest {
  qint64 id = 0;
  LinkTestSetting setting;
  LinkTestState state = LinkTestState::Running;
  LinkTestTotals totals;  // of a finished or interrupted test
  std::vector<operations::LinkEvaluation> evaluations;
};

// The kept link tests of an open records database.
class LinkTestRecords {
 public:
  explicit LinkTestRecords(RecordDatabase& database) : database_(database) {}

  // A new test; its id, or nothing with Error().
  std::optional<qint64> Begin(const LinkTestSetting& setting);
  bool AddEvaluation(qint64 test, const operations::LinkEvaluation& evaluation);
  bool Finish(qint64 test, const LinkTestTotals& totals, bool interrupted);
  bool SetLabel(qint64 test, const QString& label);

  // Newest first; the evaluations only when asked for.
  std::vector<KeptLinkTest> List(bool withEvaluations);
  std::optional<KeptLinkTest> Find(qint64 test);

  const QString& Error() const { return error_; }

 private:
  bool Evaluations(KeptLinkTest& test);
  // Runs a statement; `rows`, when not negative, is how many rows it must change.
  bool Run(QSqlQuery& query, int rows = -1);

  RecordDatabase& database_;
  QString error_;
  QString problem_;  // of the statement that failed in the unit of work under way
};

}  // namespace records
