// The registry: keys under HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE holding
// named values, kept in one text file of the Windows directory so that they
// persist across processes.
//
// Key paths are '\'-separated and match without regard to case; a key keeps
// the spelling it was created with. A value keeps its type number and its
// bytes exactly as written (a REG_SZ written without its NUL reads back
// without it). Results are Windows error numbers: 0 success, 2 key or value
// not found, 5 access denied (a key opened for reading written to, or a store
// that cannot be written), 6 not an open key, 87 bad argument, 234 the buffer
// is too small (the size needed goes to *size, the buffer is left alone),
// 33 the store stayed locked, 1009 the store file is unreadable.
//
// The store file, CORVAREG.TXT in the Windows directory:
//
//   CorvaLib registry 1
//   key "HKEY_CURRENT_USER\Software\Corvantis\Ledger\Options" class "CVX4.0 User Data"
//   value "Company" sz "ACME Ltd\0"
//   value "Count" dword 0x0000002a
//   value "Layout" hex(3) 01 02 ff
//
// One "key" line per key, its values on the "value" lines below it. Quoted
// texts escape '\' and '"' with a backslash and any other byte outside
// printable ASCII as \xHH (NUL as \0). "sz" is type 1, "dword" type 4 with
// four bytes (little-endian), hex(N) any type N with any bytes. Lines that
// are empty or start with '#' are ignored. A line that does not read (and the
// value lines under a key line that does not) is skipped: every other value
// reads as usual, and the next write keeps them all and sets the skipped
// lines aside in a new file, CORVAREG.BAD or else CORVAREG.BAD.1, .2, ...
// (never over an earlier one). A file without the header line, or that is no
// regular file or over 16 MiB, makes every call fail (1009, or 5 for a file
// that cannot be read) and is left as it is until the next write, which keeps
// a copy of it the same way and starts a new store. Writes replace the file
// by renaming a temporary file over it under an advisory lock, as profile
// writes do, so concurrent writers keep each other's values; a lock another
// process keeps beyond the bounded wait fails the write with 33. In a
// Windows directory of another user, or one others may write, the store reads
// as empty and writes fail with 5.
#pragma once
#include <corvaplat/api.h>

#include <cstdint>
#include <string>

namespace corva::platform {

using RegKey = std::uint32_t;

constexpr RegKey kHKeyCurrentUser = 0x80000001u;
constexpr RegKey kHKeyLocalMachine = 0x80000002u;

constexpr std::uint32_t kRegNone = 0;
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;

constexpr std::uint32_t kKeyRead = 0x20019;
constexpr std::uint32_t kKeyAllAccess = 0xF003F;
constexpr std::uint32_t kKeySetValue = 0x0002;

constexpr std::uint32_t kRegCreatedNewKey = 1;
constexpr std::uint32_t kRegOpenedExistingKey = 2;

constexpr std::int32_t kErrorRegistryCorrupt = 1009;

// Opens the key (root or open key, then the sub-key path), creating it and
// the keys above it when missing; *disposition (may be null) tells which.
CORVAPLAT_API std::int32_t RegCreateKeyExA(RegKey key, const char* sub_key, std::uint32_t reserved,
                                           const char* class_name, std::uint32_t options,
                                           std::uint32_t access, const void* security,
                                           RegKey* result, std::uint32_t* disposition);
// Opens an existing key (one with a key or value stored at or below it).
CORVAPLAT_API std::int32_t RegOpenKeyExA(RegKey key, const char* sub_key, std::uint32_t options,
                                         std::uint32_t access, RegKey* result);
// Reads a value (null or "" names the key's default value). With a null data
// pointer only the type and size are given.
CORVAPLAT_API std::int32_t RegQueryValueExA(RegKey key, const char* name, std::uint32_t* reserved,
                                            std::uint32_t* type, std::uint8_t* data,
                                            std::uint32_t* size);
CORVAPLAT_API std::int32_t RegSetValueExA(RegKey key, const char* name, std::uint32_t reserved,
                                          std::uint32_t type, const std::uint8_t* data,
                                          std::uint32_t size);
CORVAPLAT_API std::int32_t RegCloseKey(RegKey key);
// The index-th value of the key (0 first, in the order written): its name to
// name (*name_size in: buffer size, out: characters without the NUL), and
// type, data and *data_size as RegQueryValueExA gives them. 259 past the last.
CORVAPLAT_API std::int32_t RegEnumValueA(RegKey key, std::uint32_t index, char* name,
                                         std::uint32_t* name_size, std::uint32_t* reserved,
                                         std::uint32_t* type, std::uint8_t* data,
                                         std::uint32_t* data_size);

// The store file's host path.
CORVAPLAT_API std::string registry_path();

// The operating system's version as GetVersionExA reports it.
struct OsVersionInfo {
  std::uint32_t size;  // set by the caller to sizeof(OsVersionInfo)
  std::uint32_t major_version;
  std::uint32_t minor_version;
  std::uint32_t build_number;
  std::uint32_t platform_id;  // 2 would be Windows NT
  char service_pack[128];
};
constexpr std::uint32_t kPlatformWin32Windows = 1;
constexpr std::uint32_t kPlatformWin32Nt = 2;

// Fills the record (its size field must be set); 0 when it is not. This
// platform reports itself as not Windows NT unless a test says otherwise.
CORVAPLAT_API std::int32_t GetVersionExA(OsVersionInfo* info);
// Makes GetVersionExA report another platform identifier (tests).
CORVAPLAT_API void set_reported_platform(std::uint32_t platform_id);

}  // namespace corva::platform
