#include "records/record_database.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>

namespace records {
namespace {

// SQLite's primary result codes, as the driver reports them in nativeErrorCode().
constexpr int kSqliteBusy = 5;
constexpr int kSqliteLocked = 6;
constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteNotADatabase = 26;

QAtomicInteger<quint64> connectionCounter;

int primaryCode(const QSqlError& error) {
  bool ok = false;
  const int code = error.nativeErrorCode().toInt(&ok);
  return ok ? (code & 0xff) : -1;
}

// Runs one statement without parameters and returns its first column, or an error.
bool scalar(QSqlDatabase& db, const QString& sql, QVariant* value, QSqlError* error) {
  QSqlQuery query(db);
  if (!query.exec(sql)) {
    *error = query.lastError();
    return false;
  }
  *value = query.next() ? query.value(0) : QVariant();
  return true;
}

bool execute(QSqlDatabase& db, const QString& sql, QSqlError* error) {
  QSqlQuery query(db);
  if (query.exec(sql)) return true;
  *error = query.lastError();
  return false;
}

}  // namespace

QString describeSqlError(const QSqlError& error) {
  switch (primaryCode(error)) {
    case kSqliteBusy:
    case kSqliteLocked:
      return QStringLiteral("the database stayed locked by another program too long");
    case kSqliteCorrupt:
      return QStringLiteral("the database is corrupt (%1)").arg(error.databaseText());
    case kSqliteNotADatabase:
      return QStringLiteral("the file is not an SQLite database");
    default:
      return error.text();
  }
}

QString RecordDatabase::defaultPath() {
  QString base = qEnvironmentVariable("XDG_DATA_HOME");
  if (base.isEmpty() || !QDir::isAbsolutePath(base)) base = QDir::homePath() + "/.local/share";
  return base + "/talvora/records.sqlite";
}

RecordDatabase::RecordDatabase()
    : name_(QStringLiteral("talvora-records-%1").arg(connectionCounter.fetchAndAddRelaxed(1))) {}

RecordDatabase::~RecordDatabase() {
  close();
}

QSqlDatabase RecordDatabase::connection() const {
  return QSqlDatabase::database(name_, false);
}

void RecordDatabase::close() {
  if (QSqlDatabase::contains(name_)) {
    {
      QSqlDatabase db = QSqlDatabase::database(name_, false);
      db.close();
    }
    QSqlDatabase::removeDatabase(name_);
  }
  open_ = false;
}

bool RecordDatabase::refuse(const QString& why) {
  error_ = QStringLiteral("%1: %2").arg(path_, why);
  close();
  return false;
}

bool RecordDatabase::open(const QString& path, const std::vector<Migration>& migrations,
                          std::chrono::milliseconds busyTimeout) {
  close();
  path_ = path;
  error_.clear();
  version_ = 0;
  const QFileInfo info(path);
  if (info.exists() && !info.isFile()) return refuse("not a regular file");
  if (!info.exists() && !QDir().mkpath(info.absolutePath()))
    return refuse("cannot create the folder " + info.absolutePath());

  QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name_);
  if (!db.isValid()) return refuse("Qt's SQLite driver (QSQLITE) is not installed");
  db.setDatabaseName(path);
  db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeout.count()));
  if (!db.open()) return refuse(describeSqlError(db.lastError()));
  const int newest = migrations.empty() ? 0 : migrations.back().version;
  if (!check(db, newest)) return false;
  if (!migrate(db, migrations)) return false;
  open_ = true;
  return true;
}

bool RecordDatabase::check(QSqlDatabase& db, int newest) {
  QVariant id;
  QVariant version;
  QVariant objects;
  QSqlError error;
  // The first read makes SQLite look at the file: a file that is not a database, or one locked
  // beyond the busy timeout, fails here before anything is written.
  if (!scalar(db, "PRAGMA application_id", &id, &error) ||
      !scalar(db, "PRAGMA user_version", &version, &error) ||
      !scalar(db, "SELECT count(*) FROM sqlite_schema", &objects, &error))
    return refuse(describeSqlError(error));
  const bool empty = id.toInt() == 0 && version.toInt() == 0 && objects.toInt() == 0;
  if (!empty && id.toInt() != kApplicationId)
    return refuse("not a TALVORA records database (it belongs to another program)");
  if (version.toInt() > newest)
    return refuse(QStringLiteral("written by a newer TALVORA (schema %1, this one knows %2)")
                      .arg(version.toInt())
                      .arg(newest));
  QSqlQuery quick(db);
  if (!quick.exec("PRAGMA quick_check")) return refuse(describeSqlError(quick.lastError()));
  QStringList problems;
  while (quick.next()) {
    if (quick.value(0).toString() != "ok") problems << quick.value(0).toString();
  }
  if (!problems.isEmpty()) return refuse("the database is corrupt (" + problems.join("; ") + ")");
  QVariant mode;
  if (!scalar(db, "PRAGMA journal_mode=WAL", &mode, &error)) return refuse(describeSqlError(error));
  if (mode.toString().toLower() != "wal")
    return refuse("cannot use write-ahead logging (journal mode " + mode.toString() + ")");
  if (!execute(db, "PRAGMA foreign_keys=ON", &error)) return refuse(describeSqlError(error));
  version_ = version.toInt();
  return true;
}

bool RecordDatabase::migrate(QSqlDatabase& db, const std::vector<Migration>& migrations) {
  if (!migrations.empty() && version_ == migrations.back().version) return true;
  QSqlError error;
  // An immediate transaction takes the write lock before the version is read again: another
  // station opening the same new file at the same moment waits, then finds it migrated.
  if (!execute(db, "BEGIN IMMEDIATE", &error)) return refuse(describeSqlError(error));
  QVariant version;
  bool ok = scalar(db, "PRAGMA user_version", &version, &error);
  int current = version.toInt();
  for (const Migration& step : migrations) {
    if (!ok) break;
    if (step.version <= current) continue;
    for (const QString& statement : step.statements) {
      if (!(ok = execute(db, statement, &error))) break;
    }
    // Versions are the program's own constants; a pragma takes no bound parameters.
    ok = ok && execute(db, QStringLiteral("PRAGMA user_version=%1").arg(step.version), &error);
    current = step.version;
  }
  ok = ok && execute(db, QStringLiteral("PRAGMA application_id=%1").arg(kApplicationId), &error);
  ok = ok && execute(db, "COMMIT", &error);
  if (!ok) {
    QSqlError ignored;
    execute(db, "ROLLBACK", &ignored);
    return refuse("cannot bring the schema up to date: " + describeSqlError(error));
  }
  version_ = current;
  return true;
}

bool RecordDatabase::transact(const std::function<bool(QSqlDatabase&)>& work) {
  if (!open_) {
    error_ = path_ + ": the database is not open";
    return false;
  }
  QSqlDatabase db = connection();
  QSqlError error;
  if (!execute(db, "BEGIN IMMEDIATE", &error)) {
    error_ = path_ + ": " + describeSqlError(error);
    return false;
  }
  bool done = false;
  try {
    done = work(db);
  } catch (...) {
    QSqlError ignored;
    execute(db, "ROLLBACK", &ignored);
    throw;
  }
  if (done && execute(db, "COMMIT", &error)) return true;
  QSqlError ignored;
  execute(db, "ROLLBACK", &ignored);
  error_ =
      path_ + ": " + (done ? describeSqlError(error) : QStringLiteral("the change was undone"));
  return false;
}

}  // namespace records
