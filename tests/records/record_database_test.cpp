#include "records/record_database.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

namespace {

using records::Migration;
using records::RecordDatabase;

// A schema of two steps, so that a database at the first is seen to take the second.
const std::vector<Migration> kTwoSteps = {
    {1, {"CREATE TABLE first (id INTEGER PRIMARY KEY, text TEXT)"}},
    {2,
     {"CREATE TABLE second (id INTEGER PRIMARY KEY, value INTEGER)",
      "INSERT INTO second (value) VALUES (42)"}},
};

QByteArray digest(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// Runs statements on a plain connection of the test's own, as another program would.
void runPlain(const QString& path, const QStringList& statements) {
  {
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "plain");
    db.setDatabaseName(path);
    ASSERT_TRUE(db.open());
    for (const QString& sql : statements) {
      QSqlQuery query(db);
      ASSERT_TRUE(query.exec(sql)) << sql.toStdString() << query.lastError().text().toStdString();
    }
    db.close();
  }
  QSqlDatabase::removeDatabase("plain");
}

int scalar(const RecordDatabase& db, const QString& sql) {
  QSqlQuery query(db.connection());
  EXPECT_TRUE(query.exec(sql)) << query.lastError().text().toStdString();
  return query.next() ? query.value(0).toInt() : -1;
}

// A unit of work of one statement.
std::function<bool(QSqlDatabase&)> Statement(const char* sql) {
  return [sql](QSqlDatabase& c) { return QSqlQuery(c).exec(sql); };
}

class RecordDatabaseTest : public ::testing::Test {
 protected:
  QString path(const QString& name = "records.sqlite") const { return dir_.filePath(name); }
  QTemporaryDir dir_;
};

// A new file in a new folder, or an empty file, becomes a database at the newest schema.
TEST_F(RecordDatabaseTest, CreatesTheDatabaseWithItsFolderAtTheNewestSchemaInWalMode) {
  ASSERT_TRUE(QFile(path("empty.sqlite")).open(QIODevice::WriteOnly));
  for (const QString& file : {path("deep/er/records.sqlite"), path("empty.sqlite")}) {
    SCOPED_TRACE(file.toStdString());
    RecordDatabase db;
    ASSERT_TRUE(db.open(file, kTwoSteps)) << db.error().toStdString();
    EXPECT_EQ(db.schemaVersion(), 2);
    EXPECT_EQ(scalar(db, "PRAGMA user_version"), 2);
    EXPECT_EQ(scalar(db, "PRAGMA application_id"), records::kApplicationId);
    EXPECT_EQ(scalar(db, "SELECT value FROM second"), 42);
    QSqlQuery mode(db.connection());
    ASSERT_TRUE(mode.exec("PRAGMA journal_mode") && mode.next());
    EXPECT_EQ(mode.value(0).toString(), "wal");
  }
}

TEST_F(RecordDatabaseTest, TheDefaultPathIsUnderXdgDataHome) {
  EXPECT_EQ(RecordDatabase::defaultPath(),
            qEnvironmentVariable("XDG_DATA_HOME") + "/talvora/records.sqlite");
  EXPECT_FALSE(qEnvironmentVariable("XDG_DATA_HOME").isEmpty());
}

TEST_F(RecordDatabaseTest, AnOlderDatabaseTakesOnlyTheStepsItLacksAndKeepsItsRows) {
  {
    RecordDatabase first;
    ASSERT_TRUE(first.open(path(), {kTwoSteps[0]})) << first.error().toStdString();
    EXPECT_EQ(first.schemaVersion(), 1);
    ASSERT_TRUE(first.transact(Statement("INSERT INTO first (text) VALUES ('kept')")));
  }
  RecordDatabase db;
  ASSERT_TRUE(db.open(path(), kTwoSteps)) << db.error().toStdString();
  EXPECT_EQ(db.schemaVersion(), 2);
  EXPECT_EQ(scalar(db, "SELECT count(*) FROM first WHERE text = 'kept'"), 1);
  EXPECT_EQ(scalar(db, "SELECT count(*) FROM second"), 1);
}

// Each row builds a file that is not a database this program may use; opening it must be
// refused with a message that says why, and the file must be left exactly as it was.
struct Refusal {
  const char* name;
  std::function<void(const QString& path)> make;
  const char* message;
  friend void PrintTo(const Refusal& refusal, std::ostream* out) { *out << refusal.name; }
};

class RefusalTest : public RecordDatabaseTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RefusalTest, IsRefusedWithAMessageAndLeftUntouched) {
  GetParam().make(path());
  const QByteArray before = digest(path());
  RecordDatabase db;
  EXPECT_FALSE(db.open(path(), kTwoSteps, std::chrono::milliseconds(200)));
  EXPECT_FALSE(db.isOpen());
  EXPECT_TRUE(db.error().contains(GetParam().message)) << db.error().toStdString();
  EXPECT_TRUE(db.error().startsWith(path())) << db.error().toStdString();
  EXPECT_EQ(digest(path()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Files, RefusalTest,
    ::testing::Values(
        Refusal{"TextFile",
                [](const QString& p) {
                  QFile f(p);
                  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
                  ASSERT_GT(f.write(QByteArray("module,register,value\n").repeated(300)), 0);
                },
                "not an SQLite database"},
        Refusal{"AnotherProgramsDatabase",
                [](const QString& p) {
                  runPlain(p, {"PRAGMA journal_mode=DELETE", "CREATE TABLE contacts (name TEXT)",
                               "PRAGMA user_version=3"});
                },
                "another program"},
        Refusal{"AnotherApplicationId",
                [](const QString& p) {
                  runPlain(p, {"PRAGMA journal_mode=DELETE", "PRAGMA application_id=1234"});
                },
                "another program"},
        Refusal{"NewerSchema",
                [](const QString& p) {
                  runPlain(
                      p,
                      {"PRAGMA journal_mode=DELETE", "CREATE TABLE first (id INTEGER PRIMARY KEY)",
                       QStringLiteral("PRAGMA application_id=%1").arg(records::kApplicationId),
                       "PRAGMA user_version=3"});
                },
                "newer TALVORA (schema 3, this one knows 2)"},
        Refusal{"CorruptPage",
                [](const QString& p) {
                  QStringList fill = {"PRAGMA journal_mode=DELETE", "PRAGMA page_size=1024",
                                      "CREATE TABLE first (id INTEGER PRIMARY KEY, text TEXT)",
                                      "CREATE INDEX first_text ON first (text)"};
                  for (int i = 0; i < 200; ++i)
                    fill << QStringLiteral("INSERT INTO first (text) VALUES ('row %1 %2')")
                                .arg(i)
                                .arg(QString(40, QChar('a' + i % 26)));
                  fill << QStringLiteral("PRAGMA application_id=%1").arg(records::kApplicationId)
                       << "PRAGMA user_version=1";
                  runPlain(p, fill);
                  // Garbage over the middle of the file: a table page and an index page.
                  QFile f(p);
                  ASSERT_TRUE(f.open(QIODevice::ReadWrite));
                  const qint64 size = f.size();
                  ASSERT_GT(size, 8 * 1024);
                  ASSERT_TRUE(f.seek(size / 2));
                  ASSERT_EQ(f.write(QByteArray(3000, '\x5a')), 3000);
                },
                "corrupt"},
        Refusal{"Folder", [](const QString& p) { ASSERT_TRUE(QDir().mkpath(p)); },
                "not a regular file"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RecordDatabaseTest, ADatabaseLockedLongerThanTheWaitIsRefusedAndKept) {
  {
    RecordDatabase first;
    ASSERT_TRUE(first.open(path(), kTwoSteps)) << first.error().toStdString();
  }
  QSqlDatabase holder = QSqlDatabase::addDatabase("QSQLITE", "holder");
  holder.setDatabaseName(path());
  ASSERT_TRUE(holder.open());
  {
    QSqlQuery query(holder);
    ASSERT_TRUE(query.exec("PRAGMA locking_mode=EXCLUSIVE"));
    ASSERT_TRUE(query.exec("BEGIN EXCLUSIVE"));
    ASSERT_TRUE(query.exec("INSERT INTO second (value) VALUES (7)"));
  }
  RecordDatabase db;
  EXPECT_FALSE(db.open(path(), kTwoSteps, std::chrono::milliseconds(150)));
  EXPECT_TRUE(db.error().contains("locked")) << db.error().toStdString();
  {
    QSqlQuery query(holder);
    ASSERT_TRUE(query.exec("COMMIT"));
  }
  holder.close();
  holder = QSqlDatabase();
  QSqlDatabase::removeDatabase("holder");
  RecordDatabase again;
  ASSERT_TRUE(again.open(path(), kTwoSteps)) << again.error().toStdString();
  EXPECT_EQ(scalar(again, "SELECT count(*) FROM second"), 2);
}

TEST_F(RecordDatabaseTest, AUnitOfWorkIsWholeOrAbsent) {
  RecordDatabase db;
  ASSERT_TRUE(db.open(path(), kTwoSteps)) << db.error().toStdString();
  const auto insertTwo = [](bool keep) {
    return [keep](QSqlDatabase& c) {
      QSqlQuery query(c);
      return query.exec("INSERT INTO first (text) VALUES ('a')") &&
             query.exec("INSERT INTO first (text) VALUES ('b')") && keep;
    };
  };
  EXPECT_FALSE(db.transact(insertTwo(false)));
  EXPECT_EQ(scalar(db, "SELECT count(*) FROM first"), 0);
  EXPECT_THROW(db.transact([](QSqlDatabase& c) -> bool {
    QSqlQuery query(c);
    query.exec("INSERT INTO first (text) VALUES ('c')");
    throw std::runtime_error("the job failed half-way");
  }),
               std::runtime_error);
  EXPECT_EQ(scalar(db, "SELECT count(*) FROM first"), 0);
  EXPECT_TRUE(db.transact(insertTwo(true))) << db.error().toStdString();
  EXPECT_EQ(scalar(db, "SELECT count(*) FROM first"), 2);
}

TEST_F(RecordDatabaseTest, TwoOpenInstancesOnOneFileEachSeeTheOthersWork) {
  RecordDatabase one;
  RecordDatabase two;
  ASSERT_TRUE(one.open(path(), kTwoSteps)) << one.error().toStdString();
  ASSERT_TRUE(two.open(path(), kTwoSteps)) << two.error().toStdString();
  EXPECT_NE(one.connection().connectionName(), two.connection().connectionName());
  ASSERT_TRUE(one.transact(Statement("INSERT INTO second (value) VALUES (1)")));
  EXPECT_EQ(scalar(two, "SELECT count(*) FROM second"), 2);
}

}  // namespace
