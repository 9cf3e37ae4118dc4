// Profile (INI) files: the private-profile and WIN.INI services.
//
// Reading
//   Section and key names match without regard to case (code page 1252) and
//   are trimmed of surrounding blanks. A value is the text after the first
//   '=' with surrounding blanks removed and then one pair of matching quotes
//   ('...' or "..."). Only the first section of a given name is consulted, and
//   in it the first key of a given name. Lines starting with ';' are comments;
//   lines without '=' never match a key. CR LF, LF and CR alone each end a
//   line. Only a regular file of at most 16 MiB is read: a FIFO, device or
//   directory under the name, or a larger file, reads as missing.
//
//   A string read copies at most size - 1 characters and a NUL and returns
//   the number copied. A null section lists the section names, a null key the
//   key names of the section: each name NUL-terminated, a second NUL after
//   the last; when the list does not fit, it is cut to size - 2 characters
//   followed by two NULs and the result is size - 2. A missing key (or file,
//   or an empty key list) copies the default instead, without its trailing
//   blanks; a null default reads as "". The default may be the buffer itself. Size 0 or a null buffer: 0,
//   nothing written.
//
//   An integer read takes an optional sign and the leading decimal digits of
//   the value ("12abc" is 12, "abc" is 0); a missing key or an empty value
//   gives the default.
//
// Writing
//   A null value deletes the key, a null key deletes the whole section; a new
//   key goes after the last entry of its section, a new section at the end of
//   the file. Every other line (comments, blank lines, unknown text) is kept
//   byte for byte, and new lines take the line ending of the file's first
//   line (LF for a new file). A value is cut at its first CR or LF. A name
//   that would not read back as itself is refused (last error 87): an empty
//   one, one holding CR or LF, a section holding ']', a key holding '=' or
//   starting with '[' or ';'.
//   The write goes to a temporary file in the same directory that is renamed
//   over the old one while an advisory lock on a companion lock file is held
//   (".NAME.lock"), so concurrent writers of one file never lose each other's
//   keys and a crash leaves the old or the new file; temporary files of
//   writers that died are removed by the next writer. The new file keeps the
//   old one's mode (and owner and group where allowed). A profile that is a
//   symlink is written through: its target is replaced, the link stays. The
//   lock companion is never opened through a symlink, and the wait for the
//   lock is bounded (kLockWaitLimit). Answers 1 on success; 0 with the last
//   error set (5 access denied, 3 path not found, 33 the lock stayed taken,
//   112 disk full...) on failure, the old file untouched.
//
// File names
//   A name without a directory lives in the Windows directory (CORVALIB_WINDIR,
//   created on first write; one of another user or that others may write is
//   not used: reads give defaults, writes fail with 5); "X:\..." maps through CORVALIB_DRIVE_X; '\' and
//   '/' both separate; when the exact case does not exist, a file of the same
//   name in another case is used. A null file name means WIN.INI.
//
// Caching
//   A parsed file is kept in the process, with the file held open, and
//   parsed again only when the file's device, inode, size, link count,
//   modification or status-change time (nanoseconds) changes. A read checks the open file with
//   one fstat (no path lookup): a file renamed over it or deleted drops its
//   link count, an edit in place moves its size or time, so every read sees
//   any change made before it, by any program.
#pragma once
#include <corvaplat/api.h>

#include <cstdint>
#include <string>

namespace corva::platform {

CORVAPLAT_API std::uint32_t GetPrivateProfileStringA(const char* section, const char* key,
                                                     const char* default_value, char* buffer,
                                                     std::uint32_t size, const char* file);
CORVAPLAT_API std::uint32_t GetPrivateProfileIntA(const char* section, const char* key,
                                                  std::int32_t default_value, const char* file);
CORVAPLAT_API std::int32_t WritePrivateProfileStringA(const char* section, const char* key,
                                                      const char* value, const char* file);

// The same on WIN.INI in the Windows directory.
CORVAPLAT_API std::uint32_t GetProfileStringA(const char* section, const char* key,
                                              const char* default_value, char* buffer,
                                              std::uint32_t size);
CORVAPLAT_API std::uint32_t GetProfileIntA(const char* section, const char* key,
                                           std::int32_t default_value);
CORVAPLAT_API std::int32_t WriteProfileStringA(const char* section, const char* key,
                                               const char* value);

// The host path a DOS file name stands for ("" for an empty name). A name
// without a directory resolves in the Windows directory.
CORVAPLAT_API std::string profile_path(const char* file);

// Forgets every parsed file (tests measure uncached reads with it).
CORVAPLAT_API void profile_cache_clear();

}  // namespace corva::platform
