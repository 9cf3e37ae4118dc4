// Process configuration read from the environment.
//
//   CORVALIB_WINDIR          the directory standing for the Windows directory
//                            (default $XDG_CONFIG_HOME/corvalib, else
//                            $HOME/.config/corvalib, else the same under the
//                            home directory of the password database); created
//                            on first write. A relative path is taken from the
//                            current directory when it is first read.
//   CORVALIB_DRIVE_<LETTER>  the host directory a DOS drive letter stands for;
//                            drive C: defaults to "/".
#pragma once
#include <corvaplat/api.h>

#include <optional>
#include <string>

namespace corva::platform {

// The Windows directory as an absolute host path without a trailing slash;
// empty when the process has no home directory to put it in.
CORVAPLAT_API std::string windows_directory();
// Whether the Windows directory may be trusted: there is one, and it is
// missing or a directory of the process's user that others cannot write.
// Reads of an untrusted one give defaults; writes fail with access denied.
CORVAPLAT_API bool windows_directory_usable();
// Creates the Windows directory (and its parents) when missing; false with
// errno set when it cannot be made or is not usable (EACCES).
CORVAPLAT_API bool ensure_windows_directory();
// The host directory for a drive letter (either case), or nothing when the
// letter has no mapping.
CORVAPLAT_API std::optional<std::string> drive_root(char letter);
// Reads the environment again (tests change it between cases).
CORVAPLAT_API void reload_configuration();

}  // namespace corva::platform
