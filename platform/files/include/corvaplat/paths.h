// DOS names on the host file system: drives, the current drive and the
// current directory of each drive, and the run-time library's directory and
// whole-file calls that work on such names.
//
// A DOS name is resolved to a host path like this:
//   - "\" and "/" both separate components; a name that begins with "/" and has
//     no drive is a host path and is used as it is;
//   - "X:" names a drive, mapped through drive_root() (CORVALIB_DRIVE_<X>);
//     without a drive the current drive is meant;
//   - a name that does not begin with a separator after the drive is relative
//     to that drive's current directory;
//   - "." is dropped, ".." climbs one level; climbing above the drive's root is
//     refused (kErrorPathNotFound);
//   - trailing dots and blanks of a component are dropped ("LEDGER." is
//     "LEDGER");
//   - each component is looked up with its exact case first and, when that
//     does not exist, without regard to case (the first match in byte order);
//   - a DOS name of more than 259 characters is refused (kErrorFilenameTooLong).
// Example: with CORVALIB_DRIVE_D=/srv/data holding /srv/data/Co1/Ledger.dat,
// "d:\CO1\LEDGER.DAT" and "D:/co1/ledger.dat" both resolve to that file.
#pragma once
#include <corvaplat/api.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace corva::platform {

// The longest DOS name the layer accepts, as MAX_PATH minus the NUL.
inline constexpr std::size_t kMaxDosPath = 259;

// Resolves a DOS name. The directories on the way must exist; the last
// component need not (so a file can be made under the name). On success the
// host path is in `host` and `exists` (when given) tells whether the last
// component exists. Answers 0 or a Windows error number.
CORVAPLAT_API std::uint32_t resolve_dos_path(std::string_view dos, std::string& host,
                                             bool* exists = nullptr);
// Resolves a DOS name of a directory that must exist. The empty name, and a
// bare "X:", stand for the current directory (of that drive).
CORVAPLAT_API std::uint32_t resolve_dos_directory(std::string_view dos, std::string& host);
// True when the DOS name is that of a drive's root (after "." and "..").
CORVAPLAT_API bool is_drive_root(std::string_view dos);

// Forgets the current drive and directories; the next call takes them again
// from the process's working directory (the drive whose root holds it, C: when
// none does). Tests call it after changing the drive mapping.
CORVAPLAT_API void reset_current_directories();

// The run-time library's drive and directory calls. Drive numbers count from
// 1 for A; 0 means the current drive. Changing the current drive or the
// current directory of the current drive also changes the process's working
// directory, so host-relative names agree with DOS-relative ones.
CORVAPLAT_API int _getdrive();
// 0 when done; -1 when the drive number is out of range or has no mapping.
CORVAPLAT_API int _chdrive(int drive);
// "X:\DIR\SUB" ("X:\" at the root) into buffer of max_length characters with
// its NUL; null when the drive is not mapped or the text does not fit.
CORVAPLAT_API char* _getdcwd(int drive, char* buffer, int max_length);
// Makes the directory current on its drive; a name with a drive letter also
// makes that drive current. 0 when done, -1 when not.
CORVAPLAT_API int _chdir(const char* dos);
CORVAPLAT_API int _mkdir(const char* dos);
// Refuses a directory that is not empty or is current on some drive.
CORVAPLAT_API int _rmdir(const char* dos);
// mode 0 exists, 2 writable, 4 readable, 6 both; 0 when so, -1 when not.
CORVAPLAT_API int _access(const char* dos, int mode);

// The run-time library's rename: 0 when done, else the run-time error number
// (2 no such file or path, 13 access denied - also when the new name exists -,
// 18 another device, 22 a bad name). A change of case only is allowed.
CORVAPLAT_API int dos_rename(const char* from, const char* to);

// The kernel's DeleteFileA: TRUE (1) when the file was deleted; else FALSE
// with the error for GetLastError (a directory gives kErrorAccessDenied).
CORVAPLAT_API std::int32_t DeleteFileA(const char* dos);

}  // namespace corva::platform
