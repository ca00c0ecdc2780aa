#include "files/safe_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "files/file_system.h"

namespace files {
namespace {

std::string Failure(const std::string& path, const std::string& reason) {
  return "cannot write " + path + ": " + reason;
}

std::string KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISCHR(mode)) return "a character device";
  if (S_ISBLK(mode)) return "a block device";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISSOCK(mode)) return "a socket";
  return "not a regular file";
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file that is really written: `path`, or the file a symbolic link names. `exists` says
// whether there is one now, `mode` its permissions. False when it must not be replaced.
bool Target(const std::string& path, std::string& target, bool& exists, mode_t& mode,
            std::string& problem) {
  FileSystem& system = CurrentFileSystem();
  struct stat info {};
  target = path;
  exists = false;
  if (path.empty()) {
    problem = "cannot write a file without a name";
    return false;
  }
  if (system.Lstat(path, info) != 0) {
    if (errno == ENOENT) return true;
    problem = Failure(path, std::strerror(errno));
    return false;
  }
  if (S_ISLNK(info.st_mode)) {
    const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                               &std::free);
    if (!resolved) {
      problem = Failure(
          path, "it is a symbolic link to nothing (" + std::string(std::strerror(errno)) + ")");
      return false;
    }
    target = resolved.get();
    if (system.Stat(target, info) != 0) {
      problem = Failure(path, std::strerror(errno));
      return false;
    }
  }
  if (!S_ISREG(info.st_mode)) {
    problem = Failure(
        path, "it is " + KindOf(info.st_mode) + ", not a regular file; it is left as it is");
    return false;
  }
  exists = true;
  mode = info.st_mode & 07777;
  return true;
}

mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// A temporary file beside `target`, for the new contents.
int MakeTemporary(const std::string& target, std::string& temporary) {
  temporary = FolderOf(target) + "/." + NameOf(target) + ".XXXXXX";
  return CurrentFileSystem().MakeTemporary(temporary);
}

bool WriteAll(int fd, const std::string& contents) {
  FileSystem& system = CurrentFileSystem();
  std::size_t done = 0;
  while (done < contents.size()) {
    const ssize_t written = system.Write(fd, contents.data() + done, contents.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      if (written == 0) errno = EIO;
      return false;
    }
    done += static_cast<std::size_t>(written);
  }
  return true;
}

// The rename is only as lasting as the folder's own entry.
bool SyncFolder(const std::string& folder) {
  FileSystem& system = CurrentFileSystem();
  const int fd = system.OpenFolder(folder);
  if (fd < 0) return false;
  const bool synced = system.Sync(fd) == 0 || errno == EINVAL || errno == EROFS;
  const int err = errno;
  system.Close(fd);
  errno = err;
  return synced;
}

}  // namespace

bool ReplaceFile(const std::string& path, const std::string& contents, std::string& problem) {
  std::string target;
  bool exists = false;
  mode_t mode = 0;
  if (!Target(path, target, exists, mode, problem)) return false;
  const std::string kept = exists ? "; the old file is kept as it was" : "";

  FileSystem& system = CurrentFileSystem();
  std::string temporary;
  const int fd = MakeTemporary(target, temporary);
  if (fd < 0) {
    problem = Failure(path, std::strerror(errno)) + kept;
    return false;
  }
  const bool written = system.Chmod(fd, exists ? mode : NewFileMode()) == 0 &&
                       WriteAll(fd, contents) && system.Sync(fd) == 0;
  int err = errno;
  // A close can report a write that failed late (a full disk on a network file system).
  const bool closed = system.Close(fd) == 0;
  if (written && !closed) err = errno;
  if (!written || !closed || system.Rename(temporary, target) != 0) {
    if (written && closed) err = errno;
    system.Unlink(temporary);
    problem = Failure(path, std::strerror(err)) + kept;
    return false;
  }
  if (!SyncFolder(FolderOf(target))) {
    problem = Failure(path, std::string("the folder could not be synced (") + std::strerror(errno) +
                                "); the new file may not survive a power failure");
    return false;
  }
  return true;
}

bool CheckReplaceable(const std::string& path, std::string& problem) {
  std::string target;
  bool exists = false;
  mode_t mode = 0;
  if (!Target(path, target, exists, mode, problem)) return false;
  std::string temporary;
  FileSystem& system = CurrentFileSystem();
  const int fd = MakeTemporary(target, temporary);
  if (fd < 0) {
    problem = Failure(path, std::strerror(errno));
    return false;
  }
  system.Close(fd);
  system.Unlink(temporary);
  return true;
}

}  // namespace files
