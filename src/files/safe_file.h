#pragma once

// Replacing a file so that it is always either the old file or the new one: the new contents
// go into a temporary file in the same folder, every write is checked, the temporary file is
// synced and closed, renamed over the target, and the folder synced. Only a regular file (or
// a symbolic link to one, whose target is replaced) is ever replaced: a device node, a FIFO or
// a folder in its place is refused untouched.

#include <string>

namespace files {

// Writes `contents` as the file `path`. False, with `problem` saying why ("cannot write
// PATH: ..."), when anything failed; the file is then as it was.
bool ReplaceFile(const std::string& path, const std::string& contents, std::string& problem);

// Whether `path` can be replaced, checked before the work that makes its contents (reading a
// module) begins: what is there now is a regular file or nothing, and a temporary file can be
// made in its folder. False, with `problem` set, when not.
bool CheckReplaceable(const std::string& path, std::string& problem);

}  // namespace files
