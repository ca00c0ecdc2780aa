#include "files/safe_file.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QDir>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>

#include "files/file_system.h"

namespace {

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void Put(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// The names in a folder, hidden ones included: a failed replacement leaves no temporary file.
QStringList Entries(const QString& folder) {
  return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

enum class Call { kWrite, kSync, kClose, kRename };

// Makes one call fail with `err` the way a full or failing disk does; the others are real.
class FailingDisk : public files::FileSystem {
 public:
  FailingDisk(Call call, int err, std::size_t partial = 0)
      : call_(call), err_(err), partial_(partial) {}
  ssize_t Write(int fd, const void* buffer, std::size_t count) override {
    if (call_ != Call::kWrite) return FileSystem::Write(fd, buffer, count);
    // A disk fills up part of the way through.
    if (partial_ > 0) {
      const std::size_t now = std::min(partial_, count);
      partial_ -= now;
      return FileSystem::Write(fd, buffer, now);
    }
    errno = err_;
    return -1;
  }
  int Sync(int fd) override {
    return Fail(Call::kSync, [&] { return FileSystem::Sync(fd); });
  }
  int Close(int fd) override {
    // The descriptor is closed all the same, as the kernel does.
    const int result = FileSystem::Close(fd);
    if (call_ != Call::kClose || closes_++ > 0) return result;
    errno = err_;
    return -1;
  }
  int Rename(const std::string& from, const std::string& to) override {
    return Fail(Call::kRename, [&] { return FileSystem::Rename(from, to); });
  }

 private:
  template <typename Real>
  int Fail(Call call, Real real) {
    if (call != call_) return real();
    errno = err_;
    return -1;
  }
  Call call_;
  int err_;
  std::size_t partial_;
  int closes_ = 0;
};

class SafeFileTest : public ::testing::Test {
 protected:
  void TearDown() override { files::UseFileSystem(nullptr); }
  std::string Path(const char* name) const { return folder_.filePath(name).toStdString(); }
  QTemporaryDir folder_;
};

struct DiskFault {
  const char* name;
  Call call;
  int err;
  std::size_t partial;
};

class DiskFaultTest : public SafeFileTest, public ::testing::WithParamInterface<DiskFault> {};

TEST_P(DiskFaultTest, LeavesTheOldFileWholeAndSaysWhy) {
  const std::string path = Path("profile.json");
  Put(path, "the good old profile\n");
  FailingDisk disk(GetParam().call, GetParam().err, GetParam().partial);
  files::UseFileSystem(&disk);
  std::string problem;
  EXPECT_FALSE(files::ReplaceFile(path, std::string(5000, 'x'), problem));
  files::UseFileSystem(nullptr);
  EXPECT_EQ(Contents(path), "the good old profile\n");
  EXPECT_NE(problem.find("cannot write " + path + ": " + std::strerror(GetParam().err)),
            std::string::npos)
      << problem;
  EXPECT_NE(problem.find("old file is kept"), std::string::npos) << problem;
  EXPECT_EQ(Entries(folder_.path()), QStringList{"profile.json"});
}

INSTANTIATE_TEST_SUITE_P(Faults, DiskFaultTest,
                         ::testing::Values(DiskFault{"WriteNoSpace", Call::kWrite, ENOSPC, 0},
                                           DiskFault{"WriteNoSpaceHalfWay", Call::kWrite, ENOSPC,
                                                     2048},
                                           DiskFault{"WriteIoError", Call::kWrite, EIO, 0},
                                           DiskFault{"SyncNoSpace", Call::kSync, ENOSPC, 0},
                                           DiskFault{"SyncIoError", Call::kSync, EIO, 0},
                                           DiskFault{"CloseNoSpace", Call::kClose, ENOSPC, 0},
                                           DiskFault{"CloseIoError", Call::kClose, EIO, 0},
                                           DiskFault{"RenameIoError", Call::kRename, EIO, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

// What stands where the file would go, made in the test's folder.
using Make = std::function<void(const std::string&)>;
Make LinkTo(const char* target) {
  return [target](const std::string& p) { ASSERT_EQ(::symlink(target, p.c_str()), 0); };
}
struct Occupant {
  const char* name;
  Make make;
  const char* kind;
};

class RefusedTargetTest : public SafeFileTest, public ::testing::WithParamInterface<Occupant> {};

TEST_P(RefusedTargetTest, IsLeftAsItIs) {
  const std::string path = Path("target");
  GetParam().make(path);
  struct stat before {};
  ASSERT_EQ(::lstat(path.c_str(), &before), 0);
  std::string problem;
  EXPECT_FALSE(files::CheckReplaceable(path, problem));
  EXPECT_NE(problem.find(GetParam().kind), std::string::npos) << problem;
  problem.clear();
  EXPECT_FALSE(files::ReplaceFile(path, "{}", problem));
  EXPECT_NE(problem.find(GetParam().kind), std::string::npos) << problem;
  struct stat after {};
  ASSERT_EQ(::lstat(path.c_str(), &after), 0);
  EXPECT_EQ(after.st_mode, before.st_mode);
  EXPECT_EQ(after.st_rdev, before.st_rdev);
  EXPECT_EQ(after.st_ino, before.st_ino);
}

INSTANTIATE_TEST_SUITE_P(
    Occupants, RefusedTargetTest,
    ::testing::Values(
        Occupant{"Fifo", [](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); },
                 "a FIFO"},
        Occupant{"Folder", [](const std::string& p) { ASSERT_EQ(::mkdir(p.c_str(), 0700), 0); },
                 "a folder"},
        Occupant{"LinkToDevice", LinkTo("/dev/null"), "a character device"},
        Occupant{"LinkToFifo",
                 [](const std::string& p) {
                   ASSERT_EQ(::mkfifo((p + ".fifo").c_str(), 0600), 0);
                   ASSERT_EQ(::symlink((p + ".fifo").c_str(), p.c_str()), 0);
                 },
                 "a FIFO"},
        Occupant{"DanglingLink", LinkTo("nowhere"), "a symbolic link to nothing"},
        Occupant{"DeviceNode",
                 [](const std::string& p) {
                   // The node of /dev/full: made only where this user may make nodes.
                   if (::mknod(p.c_str(), S_IFCHR | 0600, makedev(1, 7)) != 0)
                     LinkTo("/dev/full")(p);
                 },
                 "a character device"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SafeFileTest, ReplacesTheFileALinkNamesAndKeepsItsPermissions) {
  const std::string real = Path("real.json");
  const std::string link = Path("link.json");
  Put(real, "old");
  ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
  ASSERT_EQ(::symlink("real.json", link.c_str()), 0);
  std::string problem;
  ASSERT_TRUE(files::CheckReplaceable(link, problem)) << problem;
  ASSERT_TRUE(files::ReplaceFile(link, "new contents", problem)) << problem;
  struct stat info {};
  ASSERT_EQ(::lstat(link.c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  EXPECT_EQ(Contents(real), "new contents");
  ASSERT_EQ(::stat(real.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(Entries(folder_.path()).size(), 2);
}

TEST_F(SafeFileTest, AFolderThatDoesNotExistIsSaidBeforeAnythingIsDone) {
  std::string problem;
  EXPECT_FALSE(files::CheckReplaceable(Path("missing/profile.json"), problem));
  EXPECT_NE(problem.find(std::strerror(ENOENT)), std::string::npos) << problem;
}

// A real full disk: a tmpfs of 64 KiB, where this user may mount one.
TEST_F(SafeFileTest, ARealFullDiskKeepsTheOldFile) {
  const QString mountPoint = folder_.filePath("small");
  ASSERT_TRUE(QDir().mkpath(mountPoint));
  const std::string point = mountPoint.toStdString();
  if (::mount("talvora-test", point.c_str(), "tmpfs", 0, "size=64k") != 0) {
    GTEST_SKIP() << "cannot mount a small tmpfs here: " << std::strerror(errno);
  }
  const std::string path = point + "/profile.json";
  Put(path, "the good old profile\n");
  std::string problem;
  EXPECT_FALSE(files::ReplaceFile(path, std::string(256 * 1024, 'x'), problem));
  EXPECT_NE(problem.find(std::strerror(ENOSPC)), std::string::npos) << problem;
  EXPECT_EQ(Contents(path), "the good old profile\n");
  EXPECT_EQ(Entries(mountPoint), QStringList{"profile.json"});
  EXPECT_EQ(::umount(point.c_str()), 0);
}

}  // namespace
