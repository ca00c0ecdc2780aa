// talvora-cli's save: the destination checked before the module is read, only registers that
// answered stored, and a file that cannot be written left as it was, the command failing.

#include <gmock/gmock.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>

#include "cli_run.h"
#include "files/file_system.h"
#include "operations/register_profile.h"
#include "support/full_disk.h"

namespace {

using testing::HasSubstr;

clitest::Ran Save(const QString& port, const QString& path, const char* registers = nullptr) {
  QStringList words{"--port", port, "save", path};
  if (registers != nullptr) words << registers;
  return clitest::Run(words);
}

QByteArray Held(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

class CliSave : public testing::Test {
 protected:
  void TearDown() override { files::UseFileSystem(nullptr); }
  QString File(const char* name) const { return folder_.filePath(name); }
  QTemporaryDir folder_;
};

// Nothing is read from the module when the file cannot be written anyway.
TEST_F(CliSave, ADestinationThatCannotBeReplacedIsRefusedBeforeTheModuleIsRead) {
  struct Row {
    const char* what;
    QString path;
    const char* said;
  } rows[] = {
      {"a device node", "/dev/null", "a character device, not a regular file"},
      {"a folder", folder_.path(), "a folder, not a regular file"},
      {"a missing folder", File("missing/field.json"), std::strerror(ENOENT)},
      {"a FIFO", File("fifo"), "a FIFO, not a regular file"},
  };
  ASSERT_EQ(::mkfifo(File("fifo").toLocal8Bit().constData(), 0600), 0);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const clitest::Ran ran = Save("sim", row.path);
    EXPECT_EQ(ran.status, 2);
    EXPECT_EQ(ran.out, "") << "no register was read";
    EXPECT_THAT(ran.err, HasSubstr(row.said));
  }
  struct stat info {};
  ASSERT_EQ(::stat("/dev/null", &info), 0);
  EXPECT_TRUE(S_ISCHR(info.st_mode)) << "/dev/null was replaced";
}

TEST_F(CliSave, OnlyRegistersThatAnsweredAreStoredAndNoneAnsweringWritesNothing) {
  const clitest::Ran some = Save("sim", File("field.json"), "0-1");
  EXPECT_EQ(some.status, 0);
  QString error;
  EXPECT_EQ(operations::LoadProfile(File("field.json"), error),
            (operations::RegisterProfile{{0, 0}, {1, 8}}));

  const clitest::Ran none = Save("sim:silent", File("field.json"), "0-1");
  EXPECT_EQ(none.status, 1);
  EXPECT_THAT(none.err, HasSubstr("no register answered"));
  EXPECT_EQ(operations::LoadProfile(File("field.json"), error),
            (operations::RegisterProfile{{0, 0}, {1, 8}}));
}

TEST_F(CliSave, AFullDiskKeepsTheOldProfileAndTheCommandFails) {
  const QString path = File("field.json");
  ASSERT_EQ(Save("sim", path, "0-3").status, 0);
  const QByteArray good = Held(path);
  const clitest::Ran ran = [&] {
    const testsupport::FullDisk disk;
    return Save("sim", path);
  }();
  EXPECT_NE(ran.status, 0);
  EXPECT_THAT(ran.err, HasSubstr(std::strerror(ENOSPC)));
  EXPECT_THAT(ran.err, testing::Not(HasSubstr("saved")));
  EXPECT_EQ(Held(path), good);
}

}  // namespace
