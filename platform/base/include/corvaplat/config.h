// Process configuration read from the environment.
//
//   CORVALIB_WINDIR          the directory standing for the Windows directory
//                            (default $XDG_CONFIG_HOME/corvalib, else
//                            ~/.config/corvalib); created on first write.
//   CORVALIB_DRIVE_<LETTER>  the host directory a DOS drive letter stands for;
//                            drive C: defaults to "/".
//   CORVALIB_DISPLAY         the display component that shows the windows
//                            ("gtk"); unset: headless.
#pragma once
#include <corvaplat/api.h>

#include <optional>
#include <string>

namespace corva::platform {

// The Windows directory as a host path, without a trailing slash.
CORVAPLAT_API std::string windows_directory();
// Creates the Windows directory (and its parents) when missing.
CORVAPLAT_API bool ensure_windows_directory();
// The host directory for a drive letter (either case), or nothing when the
// letter has no mapping.
CORVAPLAT_API std::optional<std::string> drive_root(char letter);
// The display component CORVALIB_DISPLAY names; empty when unset.
CORVAPLAT_API std::string display_choice();
// Reads the environment again (tests change it between cases).
CORVAPLAT_API void reload_configuration();

}  // namespace corva::platform
