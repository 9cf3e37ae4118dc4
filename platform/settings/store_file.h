// Small text stores (profiles, the registry) kept as whole files: read in one
// go, identified by stat data for caching, and replaced by writing a
// temporary file in the same directory and renaming it over the old one
// while an advisory lock on a companion lock file is held. Only regular files
// of at most kMaxOwnedFileSize are read; the lock companion and temporary
// files are never opened through a symlink; every lock wait is bounded.
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
  // A rewrite in place that keeps the size and puts the old modification
  // time back still moves the status-change time.
  std::int64_t ctime_sec = 0;
  std::int64_t ctime_nsec = 0;
  bool operator==(const Identity&) const = default;
};

// 0, or the errno of the failed stat.
int identify(const std::string& path, Identity& id);
// Reads the whole file; 0 or an errno (EISDIR, ENXIO for a special file, EFBIG
// over the size limit). The identity is that of the file read.
int read_whole(const std::string& path, std::string& content, Identity& id);

// Holds an exclusive open-file lock for a write of path for its lifetime.
// The file written is target(): path, or where its symlinks lead (a shared
// profile linked into place keeps receiving the writes). The lock is on
// "<target's dir>/.<target's name>.lock", waited for at most kLockWaitLimit.
// error() is 0 once the lock is held, EAGAIN when the wait ran out.
class WriteLock {
 public:
  explicit WriteLock(const std::string& path);
  ~WriteLock();
  WriteLock(const WriteLock&) = delete;
  WriteLock& operator=(const WriteLock&) = delete;
  int error() const { return error_; }
  const std::string& target() const { return target_; }

 private:
  std::string target_;
  int fd_ = -1;
  int error_ = 0;
};

// An open descriptor of a file that was read, kept to tell cheaply (one
// fstat, no path lookup) that the file at its path is still the one read: a
// file renamed over it, a deletion or a new link changes the inode's link
// count, a change in place its status-change time.
class Watch {
 public:
  Watch() = default;
  // Opens path; the watch is empty when the file there is not `read`.
  Watch(const std::string& path, const Identity& read);
  ~Watch();
  Watch(Watch&& other) noexcept;
  Watch& operator=(Watch&& other) noexcept;
  Watch(const Watch&) = delete;
  Watch& operator=(const Watch&) = delete;
  // True when the watch holds the file and it is unchanged since it was read.
  bool unchanged(const Identity& read) const;

 private:
  int fd_ = -1;
  std::uint64_t links_ = 0;
};

// Writes content to a new temporary file beside path, flushes it to the disk
// and renames it over path. The new file keeps the old one's mode, and its
// owner and group where the process may set them; the content is never
// readable by others on the way. Temporary files of path left by writers that
// are gone are removed first. Call with the WriteLock held, on its target().
// 0, or the errno of the step that failed (the old file is then untouched and
// the temporary file removed).
int replace(const std::string& path, std::string_view content);

// Writes content to a new file named `name`, or else name.1, name.2, ... the
// first that does not exist yet (mode 0600): an earlier copy is never
// replaced. 0, or an errno.
int save_new(const std::string& name, std::string_view content);

// The directory part of a path ("." when it has none) and the last component.
std::string directory_of(const std::string& path);
std::string name_of(const std::string& path);

}  // namespace corva::platform::store
