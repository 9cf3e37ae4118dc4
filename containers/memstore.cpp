// Named global-memory blocks. The table keeps its entries packed in order of
// creation; a lookup takes the first entry with the identifier.
#include "containers/memstore.h"

#include "containers/fatal.h"
#include "corvaplat/globalmem.h"
#include "messages/library_box.h"

namespace corva::containers {
namespace {

constexpr std::uint16_t kNotEnoughMemory = 20301;
constexpr std::uint16_t kDeleteWithoutCreate = 20400;
constexpr std::uint16_t kDuplicateCreate = 20401;
constexpr int kAbsent = -1;

MemStore g_store;

int find(std::uint32_t identifier) {
  for (int i = 0; i < g_store.count; ++i) {
    if (g_store.identifiers[i] == identifier) return i;
  }
  return kAbsent;
}

}  // namespace

const MemStore& memstore() { return g_store; }

bool create_mem(std::uint32_t identifier, std::uint32_t size) {
  if (find(identifier) != kAbsent) fatal_memstore(kDuplicateCreate);
  if (g_store.count >= kMemStoreSize) fatal_memstore(kNotEnoughMemory);
  const int at = g_store.count++;
  g_store.identifiers[at] = identifier;
  g_store.handles[at] =
      platform::GlobalAlloc(platform::GMEM_MOVEABLE | platform::GMEM_ZEROINIT, size);
  if (g_store.handles[at] == 0) {
    messages::library_message(kNotEnoughMemory);
    return false;
  }
  return true;
}

void delete_mem(std::uint32_t identifier) {
  const int at = find(identifier);
  if (at == kAbsent) fatal_memstore(kDeleteWithoutCreate);
  // A handle that does not free stays in its entry, as the free returned it.
  const std::uint32_t left = platform::GlobalFree(g_store.handles[at]);
  if (left != 0) {
    g_store.handles[at] = left;
    return;
  }
  for (int i = at + 1; i < g_store.count; ++i) {
    g_store.identifiers[i - 1] = g_store.identifiers[i];
    g_store.handles[i - 1] = g_store.handles[i];
  }
  --g_store.count;
  g_store.identifiers[g_store.count] = 0;
  g_store.handles[g_store.count] = 0;
}

void* lock_mem(std::uint32_t identifier) {
  const int at = find(identifier);
  return at == kAbsent ? nullptr : platform::GlobalLock(g_store.handles[at]);
}

bool unlock_mem(std::uint32_t identifier) {
  const int at = find(identifier);
  return at != kAbsent && platform::GlobalUnlock(g_store.handles[at]);
}

}  // namespace corva::containers
