// The head of a file rewritten in place under a lock.
//
// A fixed-size block at the start of a file is read, changed by the caller and
// written back with one positioned write while the process holds an exclusive
// open-file lock on the block's bytes, so two processes (or two opens in one
// process) that update the same file one after the other each see the other's
// change: no update is lost and no reader that takes the shared lock sees half
// of one. The file is never truncated; bytes past the block stay as they are.
#pragma once
#include <corvaplat/api.h>

#include <cstddef>

namespace corva::platform {

struct FileHead {
  unsigned char* bytes;  // `size` bytes: the file's first bytes, zero past its end
  std::size_t size;
  std::size_t present;   // how many of them the file held
  bool created;          // the open made the file
};

// Changes the head in place; returns false to leave the file unwritten.
using FileHeadEditor = bool (*)(void* context, FileHead& head);

// Opens (creating when missing, mode 0666 less the umask) the host file, which
// must be a regular file and not a symlink, locks its first `size` bytes
// exclusively (waiting at most kLockWaitLimit for other holders), reads them,
// lets `edit` change them and writes all `size` bytes back at offset 0. A file
// shorter than `size` grows to `size`. Returns a Windows error number: 0 done,
// 2/3 file or path not found, 5 access denied (also a symlink or special file in its place), 112 disk
// full, 33 the lock stayed taken.
CORVAPLAT_API std::uint32_t rewrite_file_head(const char* host_path, std::size_t size,
                                              FileHeadEditor edit, void* context);

// Reads the first `size` bytes of an existing host file under a shared lock
// into `buffer` (zero past the end of the file); `present` receives how many
// the file held. Only a regular file is read; the lock wait is bounded. Returns a Windows error number, 0 done.
CORVAPLAT_API std::uint32_t read_file_head(const char* host_path, void* buffer, std::size_t size,
                                           std::size_t* present);

}  // namespace corva::platform
