// The free space of a disk, and temporary file names.
#pragma once
#include <corvaplat/api.h>

#include <cstdint>

namespace corva::platform {

// The kernel's GetDiskFreeSpaceA on the directory `root` (a DOS name, usually
// "X:\"; null for the current drive's root). Sectors are 512 bytes and a
// cluster is the file system's fragment size; counts are cut to 32 bits. TRUE
// (1) when done, else FALSE with GetLastError. Any out pointer may be null.
CORVAPLAT_API std::int32_t GetDiskFreeSpaceA(const char* root, std::uint32_t* sectors_per_cluster,
                                             std::uint32_t* bytes_per_sector,
                                             std::uint32_t* free_clusters,
                                             std::uint32_t* total_clusters);

// The kernel's GetTempPathA: $TMPDIR when it is an absolute path, else /tmp,
// with a trailing "/". Writes it with its NUL when `size` has room and answers
// its length; otherwise writes nothing and answers the size needed.
CORVAPLAT_API std::uint32_t GetTempPathA(std::uint32_t size, char* buffer);

// The kernel's GetTempFileNameA: `out` (room for 260 characters) receives the
// directory, then up to 3 characters of prefix, 4 upper-case hex digits of the
// number and ".TMP". The prefix ends early at a separator, a dot or another
// character not allowed in a name: "../x" adds nothing. With unique 0 the layer
// picks a number whose file does not exist yet and makes that file, empty, with
// mode 0600 (O_EXCL); otherwise it only builds the name.
// Answers the number, or 0 when the directory cannot be used or the name does
// not fit (GetLastError tells why).
CORVAPLAT_API std::uint32_t GetTempFileNameA(const char* path, const char* prefix,
                                             std::uint32_t unique, char* out);

}  // namespace corva::platform
