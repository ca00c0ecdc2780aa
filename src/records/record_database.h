#pragma once

#include <QSqlDatabase>
#include <QString>
#include <chrono>
#include <functional>
#include <vector>

#include "records/record_migrations.h"

namespace records {

// Marks a SQLite file as this program's records (`PRAGMA application_id`): "TALV".
constexpr std::int32_t kApplicationId = 0x54414C56;
// How long a statement waits for another process's lock before the database counts as locked.
constexpr std::chrono::milliseconds kBusyTimeout{10000};

// The records database: opened or created, checked, brought to the program's schema. It refuses
// a file that is not ours, from a newer program, corrupt or locked too long, and then writes
// nothing to it. Each instance has a connection of its own, so several may be open at once (in
// one process or in several) on the same file.
class RecordDatabase {
 public:
  // `$XDG_DATA_HOME/talvora/records.sqlite` (`~/.local/share` when XDG_DATA_HOME is unset).
  static QString defaultPath();

  RecordDatabase();
  ~RecordDatabase();
  RecordDatabase(const RecordDatabase&) = delete;
  RecordDatabase& operator=(const RecordDatabase&) = delete;

  // Opens `path`, creating it and its folder when absent, and applies the migrations it lacks.
  // False with error() saying why when refused.
  bool open(const QString& path, const std::vector<Migration>& migrations = recordMigrations(),
            std::chrono::milliseconds busyTimeout = kBusyTimeout);
  bool isOpen() const { return open_; }
  const QString& error() const { return error_; }
  const QString& path() const { return path_; }
  int schemaVersion() const { return version_; }

  // The connection, for queries; valid while this object is open.
  QSqlDatabase connection() const;

  // Runs `work` as one unit: in a write transaction that is committed when it returns true and
  // rolled back otherwise (or when it throws). False, with error(), when it did not commit.
  bool transact(const std::function<bool(QSqlDatabase&)>& work);

 private:
  bool refuse(const QString& why);
  bool check(QSqlDatabase& db, int newest);
  bool migrate(QSqlDatabase& db, const std::vector<Migration>& migrations);
  void close();

  QString name_;
  QString path_;
  QString error_;
  int version_ = 0;
  bool open_ = false;
};

// A message for a failed statement that says in plain words what the database's state was:
// locked, corrupt, not a database, or the driver's own text.
QString describeSqlError(const class QSqlError& error);

}  // namespace records
