#include <corvaplat/globalmem.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

namespace corva::platform {
namespace {

struct Block {
  void* data = nullptr;
  std::size_t size = 0;
  int locks = 0;
};

struct Heap {
  std::mutex mutex;
  std::map<GlobalHandle, Block> blocks;
  GlobalHandle next = 0x4;  // handles step by 4, never 0
  int fail_next = 0;
};

Heap& heap() {
  // Never destroyed: the library's unload runs after static destructors.
  static Heap* h = new Heap;
  return *h;
}

std::atomic<AllocationFaultHook> g_fault_hook{nullptr};

bool should_fail(Heap& h) {
  if (allocation_fault()) return true;
  if (h.fail_next <= 0) return false;
  --h.fail_next;
  return true;
}

// The block of HANDLE; the end of the table, with the invalid-handle error
// set, when HANDLE names none. The caller holds the heap's lock.
std::map<GlobalHandle, Block>::iterator find_block(Heap& h, GlobalHandle handle) {
  auto it = h.blocks.find(handle);
  if (it == h.blocks.end()) SetLastError(kErrorInvalidHandle);
  return it;
}

}  // namespace

void set_allocation_fault_hook(AllocationFaultHook hook) { g_fault_hook.store(hook); }

bool allocation_fault() {
  const AllocationFaultHook hook = g_fault_hook.load();
  return hook != nullptr && hook();
}

GlobalHandle GlobalAlloc(std::uint32_t flags, std::size_t bytes) {
  Heap& h = heap();
  std::lock_guard lock(h.mutex);
  // The table's entry comes first: when it cannot be made (the allocation
  // throws) no block has been taken that would be lost.
  const GlobalHandle handle = h.next;
  const auto entry = h.blocks.emplace(handle, Block{}).first;
  void* p = should_fail(h) ? nullptr : std::malloc(bytes == 0 ? 1 : bytes);
  if (p == nullptr) {
    h.blocks.erase(entry);
    SetLastError(kErrorNotEnoughMemory);
    return 0;
  }
  if (flags & GMEM_ZEROINIT) std::memset(p, 0, bytes == 0 ? 1 : bytes);
  entry->second = Block{p, bytes, 0};
  h.next += 4;
  return handle;
}

GlobalHandle GlobalReAlloc(GlobalHandle handle, std::size_t bytes, std::uint32_t flags) {
  Heap& h = heap();
  std::lock_guard lock(h.mutex);
  auto it = find_block(h, handle);
  if (it == h.blocks.end()) return 0;
  void* p = should_fail(h) ? nullptr : std::realloc(it->second.data, bytes == 0 ? 1 : bytes);
  if (p == nullptr) {
    SetLastError(kErrorNotEnoughMemory);
    return 0;
  }
  if ((flags & GMEM_ZEROINIT) && bytes > it->second.size) {
    std::memset(static_cast<char*>(p) + it->second.size, 0, bytes - it->second.size);
  }
  it->second.data = p;
  it->second.size = bytes;
  return handle;
}

void* GlobalLock(GlobalHandle handle) {
  Heap& h = heap();
  std::lock_guard lock(h.mutex);
  auto it = find_block(h, handle);
  if (it == h.blocks.end()) return nullptr;
  ++it->second.locks;
  return it->second.data;
}

bool GlobalUnlock(GlobalHandle handle) {
  Heap& h = heap();
  std::lock_guard lock(h.mutex);
  auto it = find_block(h, handle);
  if (it == h.blocks.end()) return false;
  if (it->second.locks == 0) {
    SetLastError(kErrorNotLocked);
    return false;
  }
  --it->second.locks;
  SetLastError(kErrorSuccess);
  return it->second.locks > 0;
}

GlobalHandle GlobalFree(GlobalHandle handle) {
  Heap& h = heap();
  std::lock_guard lock(h.mutex);
  auto it = find_block(h, handle);
  if (it == h.blocks.end()) return handle;
  std::free(it->second.data);
  h.blocks.erase(it);
  return 0;
}

std::size_t GlobalSize(GlobalHandle handle) {
  Heap& h = heap();
  std::lock_guard lock(h.mutex);
  auto it = h.blocks.find(handle);
  return it == h.blocks.end() ? 0 : it->second.size;
}

int global_lock_count(GlobalHandle handle) {
  Heap& h = heap();
  std::lock_guard lock(h.mutex);
  auto it = h.blocks.find(handle);
  return it == h.blocks.end() ? -1 : it->second.locks;
}

void fail_next_global_allocations(int n) {
  Heap& h = heap();
  std::lock_guard lock(h.mutex);
  h.fail_next = n;
}

}  // namespace corva::platform
