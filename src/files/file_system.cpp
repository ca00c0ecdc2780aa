#include "files/file_system.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <utility>
#include <vector>

namespace files {
namespace {

FileSystem*& Installed() {
  static FileSystem* installed = nullptr;
  return installed;
}

}  // namespace

int FileSystem::Lstat(const std::string& path, struct stat& info) {
  return ::lstat(path.c_str(), &info);
}
int FileSystem::Stat(const std::string& path, struct stat& info) {
  return ::stat(path.c_str(), &info);
}
int FileSystem::MakeTemporary(std::string& pattern) {
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd >= 0) pattern.assign(name.data());
  return fd;
}
int FileSystem::OpenFolder(const std::string& path) {
  return ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}
ssize_t FileSystem::Write(int fd, const void* buffer, std::size_t count) {
  return ::write(fd, buffer, count);
}
int FileSystem::Chmod(int fd, mode_t mode) {
  return ::fchmod(fd, mode);
}
int FileSystem::Sync(int fd) {
  return ::fsync(fd);
}
int FileSystem::Close(int fd) {
  return ::close(fd);
}
int FileSystem::Rename(const std::string& from, const std::string& to) {
  return ::rename(from.c_str(), to.c_str());
}
int FileSystem::Unlink(const std::string& path) {
  return ::unlink(path.c_str());
}

FileSystem& CurrentFileSystem() {
  static FileSystem real;
  return Installed() != nullptr ? *Installed() : real;
}

FileSystem* UseFileSystem(FileSystem* system) {
  return std::exchange(Installed(), system);
}

}  // namespace files
