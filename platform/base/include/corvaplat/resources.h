// A module's resources other than its string table: blocks of bytes under a
// type and a numeric identifier, as a host or a test registers them.
//
// A type is given as Windows gives it: a pointer to a name, or a number below
// 0x10000 in place of the pointer (int_resource). Names compare without regard
// to case.
#pragma once
#include <corvaplat/api.h>

#include <cstdint>
#include <string>

namespace corva::platform {

using ResourceHandle = std::uint32_t;

// The predefined types, as numbers in place of a name.
inline const char* int_resource(std::uint16_t n) {
  return reinterpret_cast<const char*>(static_cast<std::uintptr_t>(n));
}
enum : std::uint16_t { RT_DIALOG = 5, RT_STRING = 6, RT_RCDATA = 10 };

// Registers (or replaces) resource id of the type in the module; the bytes are copied.
CORVAPLAT_API void register_resource(ModuleHandle module, const char* type, std::uint16_t id,
                                     std::string bytes);
CORVAPLAT_API void unregister_resource(ModuleHandle module, const char* type, std::uint16_t id);

// The resource, 0 when the module has none of that type and id (last error 1814).
CORVAPLAT_API ResourceHandle FindResourceA(ModuleHandle module, std::uint16_t id,
                                           const char* type);
// A loaded resource (its handle stays valid until FreeResource); 0 on failure.
CORVAPLAT_API ResourceHandle LoadResource(ModuleHandle module, ResourceHandle resource);
// The bytes of a loaded resource, null for a handle that is not loaded.
CORVAPLAT_API const void* LockResource(ResourceHandle loaded);
CORVAPLAT_API std::uint32_t SizeofResource(ModuleHandle module, ResourceHandle resource);
// Releases a loaded resource; answers false as Windows does.
CORVAPLAT_API bool FreeResource(ResourceHandle loaded);
// Loaded resources not yet freed, for leak checks in tests.
CORVAPLAT_API int loaded_resource_count();

}  // namespace corva::platform
