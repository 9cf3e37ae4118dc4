// Small text stores (profiles, the registry) kept as whole files: read in one
// go, identified by stat data for caching, and replaced by writing a
// temporary file in the same directory and renaming it over the old one
// while an advisory lock on a companion lock file is held.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace corva::platform::store {

// What tells one version of a file from another without reading it.
struct Identity {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::int64_t size = -1;
  std::int64_t mtime_sec = 0;
  std::int64_t mtime_nsec = 0;
  bool operator==(const Identity&) const = default;
};

// 0, or the errno of the failed stat.
int identify(const std::string& path, Identity& id);
// Reads the whole file; 0 or an errno. The identity is that of the file read.
int read_whole(const std::string& path, std::string& content, Identity& id);

// Holds an exclusive open-file lock on "<dir>/.<name>.lock" for its lifetime,
// waiting for other holders. error() is 0 once the lock is held.
class WriteLock {
 public:
  explicit WriteLock(const std::string& path);
  ~WriteLock();
  WriteLock(const WriteLock&) = delete;
  WriteLock& operator=(const WriteLock&) = delete;
  int error() const { return error_; }
  // Adds one to the change counter in the lock file's first 8 bytes; run
  // after each replace, while the lock is held.
  void count_change();

 private:
  int fd_ = -1;
  int error_ = 0;
};

// The change counter of path's lock file, mapped for reading (creating the
// lock file when needed); null when it cannot be mapped. Mappings stay for
// the life of the process.
const std::uint64_t* map_change_counter(const std::string& path);

// Writes content to a new temporary file beside path, flushes it to the disk
// and renames it over path. 0, or the errno of the step that failed (the old
// file is then untouched and the temporary file removed).
int replace(const std::string& path, std::string_view content);

// The directory part of a path ("." when it has none) and the last component.
std::string directory_of(const std::string& path);
std::string name_of(const std::string& path);

}  // namespace corva::platform::store
