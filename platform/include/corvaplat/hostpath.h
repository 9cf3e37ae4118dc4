// DOS-style path names on the host file system.
//
// "C:\DATA\Errorlog.txt" becomes the host path under the directory that drive
// C: stands for (CORVALIB_DRIVE_C, "/" by default); "\" and "/" both separate.
// Each component that exists on disk in another case is matched without regard
// to case, as DOS would; components that do not exist keep the given spelling.
// A path that starts with "/" or "\" and names no drive is a host path; one
// without a leading separator is relative to the current directory.
#pragma once
#include <corvaplat/api.h>

#include <optional>
#include <string>
#include <string_view>

namespace corva::platform {

// The host path, or nothing when the drive letter has no mapping.
CORVAPLAT_API std::optional<std::string> dos_to_host_path(std::string_view dos_path);

}  // namespace corva::platform
