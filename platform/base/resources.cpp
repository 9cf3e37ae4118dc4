#include <corvaplat/resources.h>

#include <map>
#include <memory>
#include <mutex>
#include <tuple>

#include "base/util.h"

namespace corva::platform {
namespace {

std::string type_key(const char* type) {
  const auto v = reinterpret_cast<std::uintptr_t>(type);
  if (v < 0x10000) return "#" + std::to_string(v);
  std::string s(type);
  for (char& c : s) c = ascii_lower(c);
  return s;
}

struct Resources {
  std::mutex mutex;
  std::map<std::tuple<ModuleHandle, std::string, std::uint16_t>, ResourceHandle> index;
  std::map<ResourceHandle, std::shared_ptr<const std::string>> found;   // FindResource handles
  std::map<ResourceHandle, std::shared_ptr<const std::string>> loaded;  // LoadResource handles
  ResourceHandle next = 0x00500001;
};

Resources& resources() {
  static Resources* r = new Resources;
  return *r;
}

}  // namespace

void register_resource(ModuleHandle module, const char* type, std::uint16_t id, std::string bytes) {
  if (type == nullptr) return;
  Resources& r = resources();
  std::lock_guard g(r.mutex);
  const ResourceHandle h = r.next++;
  auto key = std::make_tuple(module, type_key(type), id);
  if (auto it = r.index.find(key); it != r.index.end()) r.found.erase(it->second);
  r.index[key] = h;
  r.found[h] = std::make_shared<const std::string>(std::move(bytes));
}

void unregister_resource(ModuleHandle module, const char* type, std::uint16_t id) {
  if (type == nullptr) return;
  Resources& r = resources();
  std::lock_guard g(r.mutex);
  auto it = r.index.find(std::make_tuple(module, type_key(type), id));
  if (it == r.index.end()) return;
  r.found.erase(it->second);
  r.index.erase(it);
}

ResourceHandle FindResourceA(ModuleHandle module, std::uint16_t id, const char* type) {
  if (type == nullptr) {
    SetLastError(kErrorResourceNameNotFound);
    return 0;
  }
  Resources& r = resources();
  std::lock_guard g(r.mutex);
  auto it = r.index.find(std::make_tuple(module, type_key(type), id));
  if (it == r.index.end()) {
    SetLastError(kErrorResourceNameNotFound);
    return 0;
  }
  return it->second;
}

ResourceHandle LoadResource(ModuleHandle, ResourceHandle resource) {
  Resources& r = resources();
  std::lock_guard g(r.mutex);
  auto it = r.found.find(resource);
  if (it == r.found.end()) return 0;
  const ResourceHandle h = r.next++;
  r.loaded[h] = it->second;
  return h;
}

const void* LockResource(ResourceHandle loaded) {
  Resources& r = resources();
  std::lock_guard g(r.mutex);
  auto it = r.loaded.find(loaded);
  return it == r.loaded.end() ? nullptr : it->second->data();
}

std::uint32_t SizeofResource(ModuleHandle, ResourceHandle resource) {
  Resources& r = resources();
  std::lock_guard g(r.mutex);
  auto it = r.found.find(resource);
  return it == r.found.end() ? 0 : static_cast<std::uint32_t>(it->second->size());
}

bool FreeResource(ResourceHandle loaded) {
  Resources& r = resources();
  std::lock_guard g(r.mutex);
  r.loaded.erase(loaded);
  return false;
}

int loaded_resource_count() {
  Resources& r = resources();
  std::lock_guard g(r.mutex);
  return static_cast<int>(r.loaded.size());
}

}  // namespace corva::platform
