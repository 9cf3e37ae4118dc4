// 8-bit text services of the user-interface layer (Windows ANSI code page 1252).
#pragma once
#include <corvaplat/api.h>

namespace corva::platform {

// Upper-cases NUL-terminated text in place with the code page's mapping
// (a-z, the accented letters, and the few letters in 0x80-0x9F). Null is ignored.
CORVAPLAT_API char* CharUpperA(char* text);
CORVAPLAT_API char* CharLowerA(char* text);
CORVAPLAT_API char char_upper(char c);
CORVAPLAT_API char char_lower(char c);

}  // namespace corva::platform
