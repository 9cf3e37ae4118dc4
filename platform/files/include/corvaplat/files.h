// Files as the kernel and the C run-time hand them out: numbered handles with
// their own position, sharing modes that hold between processes, and
// byte-range locks.
//
// Handles are small numbers (1..65535) of a table in this process, each with
// the host descriptor, the access the open asked for and its own file
// position; reads and writes go to that position with pread/pwrite, so a
// position change costs no system call. Failures set GetLastError() to the
// Windows error number (2 file not found, 3 path not found, 4 too many open
// files, 5 access denied, 6 invalid handle, 32 sharing violation, 33 lock
// violation, 80 file exists, 112 disk full, ...).
//
// Sharing modes and byte-range locks are both open-file-description locks
// (F_OFD_SETLK): they belong to the open, as the original platform's belong to
// the handle, so two opens in one process contend like two processes do, and
// both vanish when the handle is closed or the process dies. The sharing
// marks live in a byte range far above any offset a 32-bit position can reach
// (kShareMarkBase), so they never meet a record lock.
//
// Locks are advisory on the host: they keep out other locks, not reads and
// writes of processes that do not lock.
//
// An open that denies others writing reads ahead: small reads (up to 4 KiB)
// come from a 16 KiB window of the file, since nobody else can change it; the
// handle's own writes drop the window.
#pragma once
#include <corvaplat/api.h>

#include <cstdint>
#include <string>

namespace corva::platform {

// A file handle of _lopen/_lcreat/OpenFile (HFILE_ERROR on failure).
using HFILE = std::int32_t;
inline constexpr HFILE HFILE_ERROR = -1;
// What _lread and _lwrite return when the system refuses the transfer.
inline constexpr std::uint32_t kTransferError = 0xFFFFFFFFu;

// Open modes of _lopen and OpenFile (added together).
enum : std::uint32_t {
  OF_READ = 0x0000, OF_WRITE = 0x0001, OF_READWRITE = 0x0002, OF_ACCESS_MASK = 0x0003,
  OF_SHARE_COMPAT = 0x0000, OF_SHARE_EXCLUSIVE = 0x0010, OF_SHARE_DENY_WRITE = 0x0020,
  OF_SHARE_DENY_READ = 0x0030, OF_SHARE_DENY_NONE = 0x0040, OF_SHARE_MASK = 0x0070,
  OF_CREATE = 0x1000,
};

// CreateFileA access, sharing, disposition and attributes.
enum : std::uint32_t {
  GENERIC_READ = 0x80000000u, GENERIC_WRITE = 0x40000000u,
  FILE_SHARE_READ = 0x1, FILE_SHARE_WRITE = 0x2,
  CREATE_NEW = 1, CREATE_ALWAYS = 2, OPEN_EXISTING = 3, OPEN_ALWAYS = 4, TRUNCATE_EXISTING = 5,
  FILE_ATTRIBUTE_READONLY = 0x1, FILE_ATTRIBUTE_NORMAL = 0x80,
};
inline constexpr std::uint32_t INVALID_HANDLE_VALUE = 0xFFFFFFFFu;

// Origins of _llseek.
enum : int { FILE_BEGIN = 0, FILE_CURRENT = 1, FILE_END = 2 };

// Modes of _locking. The two read-lock modes lock exclusively too, as the
// run-time does.
enum : int { LK_UNLCK = 0, LK_LOCK = 1, LK_NBLCK = 2, LK_RLCK = 3, LK_NBRLCK = 4 };

// The run-time's errno numbers that _locking, _commit and _dup report
// (crt_errno()); they are the original platform's values, not the host's.
enum : int { CRT_EBADF = 9, CRT_ENOMEM = 12, CRT_EACCES = 13, CRT_EINVAL = 22, CRT_EDEADLOCK = 36 };

// Attempts of a waiting lock (LK_LOCK, LK_RLCK) and the pause between them.
inline constexpr int kLockAttempts = 10;
inline constexpr std::uint32_t kLockRetryMs = 1000;

// Start of the byte range that carries the sharing marks of every open.
inline constexpr std::int64_t kShareMarkBase = 0x7FFFFFFF00000000LL;

// The record OpenFile fills.
#pragma pack(push, 1)
struct OFSTRUCT {
  std::uint8_t cBytes;       // size of the record
  std::uint8_t fFixedDisk;   // 1
  std::uint16_t nErrCode;    // the Windows error number of a failed open
  std::uint16_t Reserved1;
  std::uint16_t Reserved2;
  char szPathName[128];      // the name as opened, cut to 127 characters
};
#pragma pack(pop)

// The host path that a file name given to the services below stands for.
// False, with the Windows error number in error, when the name cannot name a
// file: null or empty (3), longer than 259 characters (3), or on a drive
// letter with no mapping (3). Backslashes separate like slashes, and "X:"
// stands for the directory of CORVALIB_DRIVE_X.
CORVAPLAT_API bool file_host_path(const char* name, std::string& host, std::uint32_t& error);

// Opens an existing file with an OF_ access and sharing mode.
CORVAPLAT_API HFILE _lopen(const char* name, std::uint32_t mode);
// Makes the file (empty, replacing one that exists) and opens it for reading
// and writing, sharing everything. attribute 1 makes it read-only for later opens.
CORVAPLAT_API HFILE _lcreat(const char* name, std::uint32_t attribute);
// Opens with an OF_ mode; OF_CREATE makes the file empty first. The record
// receives the name and, on failure, the error number.
CORVAPLAT_API HFILE OpenFile(const char* name, OFSTRUCT* record, std::uint32_t style);
// Opens or makes the file as CreateFileA does; INVALID_HANDLE_VALUE on failure.
// The handle is an HFILE of the same table; close it with CloseHandle or _lclose.
CORVAPLAT_API std::uint32_t CreateFileA(const char* name, std::uint32_t access,
                                        std::uint32_t share, std::uint32_t disposition,
                                        std::uint32_t attributes);
CORVAPLAT_API std::int32_t CloseHandle(std::uint32_t handle);  // 1 done, 0 failed

// Reads up to count bytes at the handle's position; the bytes read (fewer at
// the end of the file), or kTransferError.
CORVAPLAT_API std::uint32_t _lread(HFILE file, void* buffer, std::uint32_t count);
// Writes count bytes at the handle's position; the bytes written. Fewer than
// count (possibly 0) when the medium is full; kTransferError when the system
// refuses the write for another reason. Writing 0 bytes changes nothing.
CORVAPLAT_API std::uint32_t _lwrite(HFILE file, const void* buffer, std::uint32_t count);
// Moves the handle's position; the new position, or HFILE_ERROR (a position
// below 0 or above 2^31 - 1 is refused and the position stays).
CORVAPLAT_API std::int32_t _llseek(HFILE file, std::int32_t offset, int origin);
// Closes the handle; 0, or HFILE_ERROR for a handle that is not open.
CORVAPLAT_API HFILE _lclose(HFILE file);

// Locks (LK_LOCK, LK_NBLCK, LK_RLCK, LK_NBRLCK) or unlocks (LK_UNLCK) the
// count bytes from the handle's position. 0 on success; -1 with crt_errno()
// set: CRT_EACCES (held by another open, or unlocking a range that this
// handle has not locked exactly so), CRT_EDEADLOCK (a waiting lock still held
// after kLockAttempts attempts kLockRetryMs apart, slept through the platform
// clock), CRT_EBADF, CRT_EINVAL (bad mode or count, or the host cannot lock).
// A handle's locks never overlap each other: locking a range that overlaps
// one it holds fails like contention.
CORVAPLAT_API int _locking(HFILE file, int mode, std::int32_t count);
// Writes the system's buffers of the file to the disk; 0 or -1 (crt_errno()).
CORVAPLAT_API int _commit(HFILE file);
// A second handle of the same open (sharing its locks); HFILE_ERROR on failure.
// The new handle starts at the old one's position and moves on its own.
CORVAPLAT_API HFILE _dup(HFILE file);
// The run-time errno of the last failed _locking, _commit or _dup of this thread.
CORVAPLAT_API int crt_errno();

// Open handles of this process (tests use it to check that nothing leaks).
CORVAPLAT_API int open_file_count();

}  // namespace corva::platform
