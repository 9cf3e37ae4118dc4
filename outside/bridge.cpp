#include "outside/bridge.h"

#include "corvaplat/modules.h"

namespace corva::outside {
namespace {

using Load16 = std::uint32_t (*)(const char*);
using Free16 = void (*)(std::uint32_t);
using GetProc16 = std::uint32_t (*)(std::uint32_t, const char*);
using CallProc16 = std::uint32_t (*)(std::uint32_t, void*, void*, std::uint32_t);
using Connect = std::int32_t (*)();
using Disconnect = void (*)();

constexpr const char* kThunkLibrary = "CRV32T10.DLL";

// The entry points in lookup order; only "_thkSetLastError@4" may be missing.
constexpr const char* kEntryNames[] = {
    "_thkLoadLibrary16@4", "_thkFreeLibrary16@4", "_thkGetProcAddress16@8",
    "_thkCallProc16@16",   "_thkAllocCallback16@8", "_thkFreeCallback16@4",
    "_thkGetLastError@0",  "_thkSetLastError@4",  "_thkConnect@0",
    "_thkDisconnect@0"};
enum Entry { kLoad, kFree, kGetProc, kCall, kAllocCallback, kFreeCallback, kGetLastError,
             kSetLastError, kConnect, kDisconnect, kEntries };

// Process-wide, unguarded, as the rest of the host's user-interface state.
struct Bridge {
  std::int32_t uses = 0;
  platform::ModuleHandle module = 0;
  void* entries[kEntries] = {};
  // The load entry doubles as the connected mark.
  bool connected() const { return entries[kLoad] != nullptr; }
  template <class F>
  F entry(Entry e) const {
    return reinterpret_cast<F>(entries[e]);
  }
  void unload() {
    for (void*& e : entries) e = nullptr;
    if (module != 0) platform::FreeLibrary(module);
    module = 0;
  }
};

Bridge g_bridge;

// Steps 2 to 5 of taking a use: the thunk library loaded and connected.
bool connect(Bridge& b) {
  if (b.module == 0) {
    b.module = platform::LoadLibraryA(kThunkLibrary);
    if (b.module == 0) return false;
    for (void*& e : b.entries) e = nullptr;  // a fresh load is not connected
  }
  if (b.connected()) return true;
  void* found[kEntries] = {};
  for (int i = 0; i < kEntries; ++i) {
    found[i] = platform::GetProcAddress(b.module, kEntryNames[i]);
    if (found[i] == nullptr && i != kSetLastError) {
      b.unload();
      return false;
    }
  }
  reinterpret_cast<Disconnect>(found[kDisconnect])();
  if (reinterpret_cast<Connect>(found[kConnect])() != 0) {
    b.unload();
    return false;
  }
  for (int i = 0; i < kEntries; ++i) b.entries[i] = found[i];
  return true;
}

}  // namespace

bool bridge_initialize() {
  Bridge& b = g_bridge;
  if (b.uses++ > 0) return true;
  if (connect(b)) return true;
  --b.uses;  // a failure leaves the count as it was
  return false;
}

void bridge_terminate() {
  Bridge& b = g_bridge;
  if (b.uses <= 0) return;
  if (--b.uses > 0) return;
  if (b.connected()) b.entry<Disconnect>(kDisconnect)();
  b.unload();
}

std::uint32_t load_library16(const char* path) {
  if (!bridge_initialize()) return 0;
  const std::uint32_t module = g_bridge.entry<Load16>(kLoad)(path);
  if (module >= 32) return module;
  bridge_terminate();
  return 0;
}

void free_library16(std::uint32_t module) {
  if (g_bridge.connected()) g_bridge.entry<Free16>(kFree)(module);
  bridge_terminate();
}

std::uint32_t proc_address16(std::uint32_t module, const char* name) {
  return g_bridge.connected() ? g_bridge.entry<GetProc16>(kGetProc)(module, name) : 0;
}

std::uint32_t call_proc16(std::uint32_t procedure, void* description, void* arguments,
                          std::uint32_t extra) {
  return g_bridge.connected()
             ? g_bridge.entry<CallProc16>(kCall)(procedure, description, arguments, extra)
             : 0;
}

std::int32_t bridge_uses() { return g_bridge.uses; }

}  // namespace corva::outside
