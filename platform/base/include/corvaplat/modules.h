// Modules: handles, string tables and entry points.
//
// A module is either registered in-process (the library itself, a host, or a
// test standing in for a helper library) or loaded as a shared object from the
// library path. LoadLibraryA looks among the registered modules first.
#pragma once
#include <corvaplat/api.h>

#include <span>
#include <string>
#include <string_view>

namespace corva::platform {

struct StringResource {
  std::uint16_t id;
  std::string_view text;
};

struct ModuleSymbol {
  const char* name;
  void* address;
};

// Registers an in-process module under a name (compared without regard to
// case) with its string table and entry points; both are copied. Returns the
// new module's handle, never 0.
CORVAPLAT_API ModuleHandle register_module(std::string_view name,
                                           std::span<const StringResource> strings = {},
                                           std::span<const ModuleSymbol> symbols = {});
// Removes a registered module; its handle answers nothing afterwards.
CORVAPLAT_API void unregister_module(ModuleHandle module);

// Copies string `id` of the module into buffer, at most size - 1 characters,
// always NUL-terminated when size > 0. Returns the characters copied; 0 when the
// module or the string does not exist (or size is 0 or less).
CORVAPLAT_API int LoadStringA(ModuleHandle module, std::uint32_t id, char* buffer, int size);

// A registered module by name, else a shared object from the library path
// (each load counts; FreeLibrary releases one). 0 when nothing is found
// (GetLastError: 126).
CORVAPLAT_API ModuleHandle LoadLibraryA(const char* name);
CORVAPLAT_API bool FreeLibrary(ModuleHandle module);
// The directory the platform library itself was loaded from; empty when unknown.
CORVAPLAT_API std::string platform_directory();
CORVAPLAT_API ModuleHandle GetModuleHandleA(const char* name);
// The address of an entry point, or null (GetLastError: 127).
CORVAPLAT_API void* GetProcAddress(ModuleHandle module, const char* name);
// The module's registered name, empty for an unknown handle.
CORVAPLAT_API std::string module_name(ModuleHandle module);

}  // namespace corva::platform
