// The library's own string table, generated at build time from resources/*.str.
#pragma once
#include <span>

#include "corvaplat/modules.h"

namespace corva::resources {

std::span<const platform::StringResource> string_table();

}  // namespace corva::resources
