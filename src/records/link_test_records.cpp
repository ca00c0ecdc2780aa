#include "records/link_test_records.h"

#include <unistd.h>

#include <QSqlError>
#include <QSqlQuery>
#include <QSysInfo>
#include <QVariant>
#include <cerrno>
#include <csignal>

#include "operations/number_text.h"
#include "records/record_database.h"

namespace records {
namespace {

// A test that another machine left running and that has not moved for this long has stopped.
constexpr qint64 kStaleSeconds = 30;

bool ProcessAlive(qint64 pid) {
  return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

// A label left out is kept as an empty one.
QString NotNull(const QString& text) {
  return text.isNull() ? QString("") : text;
}

QString Stamp(const QDateTime& time) {
  return time.toUTC().toString(Qt::ISODateWithMs);
}

// A row left "running" is still running only while the process that writes it lives.
LinkTestState StateOf(const QString& state, const QString& host, qint64 pid,
                      const QDateTime& updated) {
  if (state == "finished") return LinkTestState::Finished;
  if (state == "interrupted") return LinkTestState::Interrupted;
  const bool alive = host == QSysInfo::machineHostName()
                         ? ProcessAlive(pid)
                         : updated.secsTo(QDateTime::currentDateTimeUtc()) < kStaleSeconds;
  return alive ? LinkTestState::Running : LinkTestState::Interrupted;
}

}  // namespace

QStringList linkTestTables() {
  return {
      R"(CREATE TABLE link_tests (
  id INTEGER PRIMARY KEY,
  started TEXT NOT NULL,
  updated TEXT NOT NULL,
  port TEXT NOT NULL,
  device TEXT NOT NULL,
  module TEXT NOT NULL CHECK (module IN ('host', 'remote')),
  label TEXT NOT NULL DEFAULT '',
  state TEXT NOT NULL CHECK (state IN ('running', 'finished', 'interrupted')),
  host TEXT NOT NULL,
  pid INTEGER NOT NULL,
  seconds REAL,
  sent INTEGER,
  received INTEGER,
  final_level INTEGER CHECK (final_level BETWEEN 0 AND 5)
))",
      R"(CREATE TABLE link_evaluations (
  test INTEGER NOT NULL REFERENCES link_tests (id) ON DELETE CASCADE,
  seq INTEGER NOT NULL,
  seconds REAL NOT NULL,
  sent INTEGER NOT NULL,
  received INTEGER NOT NULL,
  level INTEGER NOT NULL CHECK (level BETWEEN 0 AND 5),
  caption TEXT NOT NULL,
  PRIMARY KEY (test, seq)
))",
      "CREATE INDEX link_tests_started ON link_tests (started)",
      "CREATE INDEX link_tests_label ON link_tests (label)",
  };
}

QString StateName(LinkTestState state) {
  switch (state) {
    case LinkTestState::Running:
      return "running";
    case LinkTestState::Finished:
      return "finished";
    case LinkTestState::Interrupted:
      break;
  }
  return "interrupted";
}

bool LinkTestRecords::Run(QSqlQuery& query, int rows) {
  if (!query.exec()) {
    problem_ = database_.path() + ": " + describeSqlError(query.lastError());
    return false;
  }
  if (rows >= 0 && query.numRowsAffected() != rows) {
    problem_ = database_.path() + ": no such link test";
    return false;
  }
  return true;
}

std::optional<qint64> LinkTestRecords::Begin(const LinkTestSetting& setting) {
  problem_.clear();
  qint64 id = 0;
  const bool done = database_.transact([&](QSqlDatabase& db) {
    QSqlQuery query(db);
    query.prepare(
        "INSERT INTO link_tests (started, updated, port, device, module, label, state, host, pid) "
        "VALUES (?, ?, ?, ?, ?, ?, 'running', ?, ?)");
    const QString started = Stamp(setting.started);
    for (const QVariant& value :
         {QVariant(started), QVariant(started), QVariant(setting.port), QVariant(setting.device),
          QVariant(setting.module), QVariant(NotNull(setting.label)),
          QVariant(QSysInfo::machineHostName()), QVariant(static_cast<qint64>(::getpid()))}) {
      query.addBindValue(value);
    }
    if (!Run(query)) return false;
    id = query.lastInsertId().toLongLong();
    return true;
  });
  if (!done) {
    error_ = problem_.isEmpty() ? database_.error() : problem_;
    return std::nullopt;
  }
  return id;
}

bool LinkTestRecords::AddEvaluation(qint64 test, const operations::LinkEvaluation& evaluation) {
  problem_.clear();
  const bool done = database_.transact([&](QSqlDatabase& db) {
    QSqlQuery query(db);
    query.prepare(
        "INSERT INTO link_evaluations (test, seq, seconds, sent, received, level, caption) "
        "VALUES (?, (SELECT COUNT(*) FROM link_evaluations WHERE test = ?), ?, ?, ?, ?, ?)");
    for (const QVariant& value : {QVariant(test), QVariant(test), QVariant(evaluation.seconds),
                                  QVariant(evaluation.sent), QVariant(evaluation.received),
                                  QVariant(evaluation.level), QVariant(evaluation.caption)}) {
      query.addBindValue(value);
    }
    if (!Run(query)) return false;
    QSqlQuery touch(db);
    touch.prepare("UPDATE link_tests SET updated = ? WHERE id = ?");
    touch.addBindValue(Stamp(QDateTime::currentDateTimeUtc()));
    touch.addBindValue(test);
    return Run(touch);
  });
  if (!done) error_ = problem_.isEmpty() ? database_.error() : problem_;
  return done;
}

bool LinkTestRecords::Finish(qint64 test, const LinkTestTotals& totals, bool interrupted) {
  problem_.clear();
  const bool done = database_.transact([&](QSqlDatabase& db) {
    QSqlQuery query(db);
    query.prepare(
        "UPDATE link_tests SET state = ?, updated = ?, seconds = ?, sent = ?, received = ?, "
        "final_level = ? WHERE id = ? AND state = 'running'");
    for (const QVariant& value :
         {QVariant(interrupted ? "interrupted" : "finished"),
          QVariant(Stamp(QDateTime::currentDateTimeUtc())), QVariant(totals.seconds),
          QVariant(totals.sent), QVariant(totals.received), QVariant(totals.finalLevel),
          QVariant(test)}) {
      query.addBindValue(value);
    }
    return Run(query, 1);
  });
  if (!done) error_ = problem_.isEmpty() ? database_.error() : problem_;
  return done;
}

std::optional<QString> ParseLabel(const QString& text, QString& error) {
  const QString label = text.trimmed();
  if (operations::HoldsControlCharacter(label)) {
    error = QString("the label %1 holds a control character").arg(operations::Quoted(label));
  } else if (label.size() > kLongestLabel) {
    error = QString("the label is longer than %1 characters").arg(kLongestLabel);
  } else {
    return label;
  }
  return std::nullopt;
}

bool LinkTestRecords::SetLabel(qint64 test, const QString& label) {
  problem_.clear();
  const bool done = database_.transact([&](QSqlDatabase& db) {
    QSqlQuery query(db);
    query.prepare("UPDATE link_tests SET label = ? WHERE id = ?");
    query.addBindValue(NotNull(label));
    query.addBindValue(test);
    return Run(query, 1);
  });
  if (!done) error_ = problem_.isEmpty() ? database_.error() : problem_;
  return done;
}

std::vector<KeptLinkTest> LinkTestRecords::List(bool withEvaluations) {
  std::vector<KeptLinkTest> tests;
  QSqlQuery query(database_.connection());
  if (!query.exec("SELECT id, started, updated, port, device, module, label, state, host, pid, "
                  "seconds, sent, received, final_level FROM link_tests "
                  "ORDER BY started DESC, id DESC")) {
    error_ = describeSqlError(query.lastError());
    return tests;
  }
  while (query.next()) {
    KeptLinkTest test;
    test.id = query.value(0).toLongLong();
    test.setting = {QDateTime::fromString(query.value(1).toString(), Qt::ISODateWithMs),
                    query.value(3).toString(), query.value(4).toString(), query.value(5).toString(),
                    query.value(6).toString()};
    test.state =
        StateOf(query.value(7).toString(), query.value(8).toString(), query.value(9).toLongLong(),
                QDateTime::fromString(query.value(2).toString(), Qt::ISODateWithMs));
    test.totals = {query.value(10).toDouble(), query.value(11).toInt(), query.value(12).toInt(),
                   query.value(13).toInt()};
    tests.push_back(test);
  }
  for (KeptLinkTest& test : tests) {
    if ((withEvaluations || test.state != LinkTestState::Finished) && !Evaluations(test)) return {};
  }
  return tests;
}

std::optional<KeptLinkTest> LinkTestRecords::Find(qint64 test) {
  for (KeptLinkTest& kept : List(false)) {
    if (kept.id != test) continue;
    if (!Evaluations(kept)) return std::nullopt;
    return kept;
  }
  return std::nullopt;
}

bool LinkTestRecords::Evaluations(KeptLinkTest& test) {
  test.evaluations.clear();
  QSqlQuery query(database_.connection());
  query.prepare(
      "SELECT seconds, sent, received, level, caption FROM link_evaluations WHERE test = ? "
      "ORDER BY seq");
  query.addBindValue(test.id);
  if (!query.exec()) {
    error_ = describeSqlError(query.lastError());
    return false;
  }
  while (query.next()) {
    test.evaluations.push_back({query.value(0).toDouble(), query.value(1).toInt(),
                                query.value(2).toInt(), query.value(3).toInt(),
                                query.value(4).toString()});
  }
  // A test cut short has the totals of its last evaluation.
  if (test.state != LinkTestState::Finished && !test.evaluations.empty() && test.totals.sent == 0) {
    const operations::LinkEvaluation& last = test.evaluations.back();
    test.totals = {last.seconds, last.sent, last.received, last.level};
  }
  return true;
}

}  // namespace records
