// The 16-bit bridge: the thunk library, its entry points and the use count.
#pragma once
#include <cstdint>

namespace corva::outside {

bool bridge_initialize();
void bridge_terminate();
std::uint32_t load_library16(const char* path);
void free_library16(std::uint32_t module);
std::uint32_t proc_address16(std::uint32_t module, const char* name);
std::uint32_t call_proc16(std::uint32_t procedure, void* description, void* arguments,
                          std::uint32_t extra);

// The use count (tests look at it).
std::int32_t bridge_uses();

}  // namespace corva::outside
