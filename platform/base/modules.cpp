#include <corvaplat/modules.h>

#include <dlfcn.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "base/util.h"

namespace corva::platform {
namespace {

struct Module {
  std::string name;
  std::vector<std::pair<std::uint16_t, std::string>> strings;  // sorted by id
  std::vector<std::pair<std::string, void*>> symbols;
  void* shared_object = nullptr;  // dlopen handle for modules from the library path
  int loads = 0;
};

struct Registry {
  std::mutex mutex;
  std::map<ModuleHandle, Module> modules;
  ModuleHandle next = 0x10000;  // small values are never module handles
};

Registry& registry() {
  // Never destroyed: the library's unload runs after static destructors.
  static Registry* r = new Registry;
  return *r;
}

Module* find(Registry& r, ModuleHandle h) {
  auto it = r.modules.find(h);
  return it == r.modules.end() ? nullptr : &it->second;
}

Module* find_by_name(Registry& r, std::string_view name, ModuleHandle* handle) {
  for (auto& [h, m] : r.modules) {
    if (equal_no_case(m.name, name)) {
      *handle = h;
      return &m;
    }
  }
  return nullptr;
}

// A module name without its directory, the form registered modules answer to.
std::string_view base_name(std::string_view name) {
  auto slash = name.find_last_of("/\\:");
  return slash == std::string_view::npos ? name : name.substr(slash + 1);
}

}  // namespace

ModuleHandle register_module(std::string_view name, std::span<const StringResource> strings,
                             std::span<const ModuleSymbol> symbols) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  Module m;
  m.name = std::string(name);
  for (const auto& s : strings) m.strings.emplace_back(s.id, std::string(s.text));
  std::stable_sort(m.strings.begin(), m.strings.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& s : symbols) {
    if (s.name != nullptr) m.symbols.emplace_back(s.name, s.address);
  }
  ModuleHandle h = r.next++;
  r.modules.emplace(h, std::move(m));
  return h;
}

void unregister_module(ModuleHandle module) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  r.modules.erase(module);
}

int LoadStringA(ModuleHandle module, std::uint32_t id, char* buffer, int size) {
  if (buffer == nullptr || size <= 0) return 0;
  buffer[0] = '\0';
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  Module* m = find(r, module);
  if (m == nullptr || id > 0xFFFF) {
    SetLastError(m == nullptr ? kErrorInvalidHandle : kErrorResourceNameNotFound);
    return 0;
  }
  auto it = std::lower_bound(m->strings.begin(), m->strings.end(), id,
                             [](const auto& e, std::uint32_t v) { return e.first < v; });
  if (it == m->strings.end() || it->first != id) {
    SetLastError(kErrorResourceNameNotFound);
    return 0;
  }
  std::size_t n = std::min<std::size_t>(it->second.size(), static_cast<std::size_t>(size) - 1);
  it->second.copy(buffer, n);
  buffer[n] = '\0';
  return static_cast<int>(n);
}

ModuleHandle LoadLibraryA(const char* name) {
  if (name == nullptr || *name == '\0') {
    SetLastError(kErrorModNotFound);
    return 0;
  }
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  ModuleHandle h = 0;
  if (Module* m = find_by_name(r, base_name(name), &h)) {
    ++m->loads;
    return h;
  }
  void* so = dlopen(name, RTLD_NOW | RTLD_LOCAL);
  if (so == nullptr) {
    SetLastError(kErrorModNotFound);
    return 0;
  }
  Module m;
  m.name = std::string(base_name(name));
  m.shared_object = so;
  m.loads = 1;
  h = r.next++;
  r.modules.emplace(h, std::move(m));
  return h;
}

std::string platform_directory() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&LoadLibraryA), &info) == 0 || info.dli_fname == nullptr)
    return std::string();
  const std::string path = info.dli_fname;
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

bool FreeLibrary(ModuleHandle module) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  Module* m = find(r, module);
  if (m == nullptr) {
    SetLastError(kErrorInvalidHandle);
    return false;
  }
  if (m->shared_object != nullptr && --m->loads <= 0) {
    dlclose(m->shared_object);
    r.modules.erase(module);
  } else if (m->loads > 0) {
    --m->loads;
  }
  return true;
}

ModuleHandle GetModuleHandleA(const char* name) {
  if (name == nullptr) return 0;
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  ModuleHandle h = 0;
  return find_by_name(r, base_name(name), &h) != nullptr ? h : 0;
}

void* GetProcAddress(ModuleHandle module, const char* name) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  Module* m = find(r, module);
  if (m == nullptr || name == nullptr) {
    SetLastError(m == nullptr ? kErrorInvalidHandle : kErrorProcNotFound);
    return nullptr;
  }
  for (const auto& [n, address] : m->symbols) {
    if (n == name) return address;
  }
  if (m->shared_object != nullptr) {
    if (void* p = dlsym(m->shared_object, name)) return p;
  }
  SetLastError(kErrorProcNotFound);
  return nullptr;
}

std::string module_name(ModuleHandle module) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  Module* m = find(r, module);
  return m == nullptr ? std::string() : m->name;
}

}  // namespace corva::platform
