#pragma once

#include <cerrno>

#include "files/file_system.h"

namespace testsupport {

// A disk that takes no byte (ENOSPC on every write) for the safe file replacement, for as long
// as it lives.
class FullDisk final : public files::FileSystem {
 public:
  FullDisk() { files::UseFileSystem(this); }
  ~FullDisk() override { files::UseFileSystem(nullptr); }
  FullDisk(const FullDisk&) = delete;
  FullDisk& operator=(const FullDisk&) = delete;

  ssize_t Write(int, const void*, std::size_t) override {
    errno = ENOSPC;
    return -1;
  }
};

}  // namespace testsupport
