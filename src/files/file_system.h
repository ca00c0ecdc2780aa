#pragma once

// The system calls that write a file, behind one small interface. The class itself makes the
// real calls; a test derives from it to make a write, a sync or a close fail as a full or
// failing disk would.

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <string>

namespace files {

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Each returns what the system call does, with errno set on failure.
  virtual int Lstat(const std::string& path, struct stat& info);
  virtual int Stat(const std::string& path, struct stat& info);
  virtual int MakeTemporary(std::string& pattern);  // mkostemp(O_CLOEXEC) on "...XXXXXX"
  virtual int OpenFolder(const std::string& path);  // open(O_RDONLY | O_DIRECTORY)
  virtual ssize_t Write(int fd, const void* buffer, std::size_t count);
  virtual int Chmod(int fd, mode_t mode);
  virtual int Sync(int fd);
  virtual int Close(int fd);
  virtual int Rename(const std::string& from, const std::string& to);
  virtual int Unlink(const std::string& path);
};

// The calls in use.
FileSystem& CurrentFileSystem();
// Installs `system` (null: the real calls again); returns the one it replaces.
FileSystem* UseFileSystem(FileSystem* system);

}  // namespace files
