// The table of named global-memory blocks, one per process.
#pragma once
#include <cstdint>

namespace corva::containers {

constexpr std::uint16_t kMemStoreSize = 20;

struct MemStore {
  std::uint16_t count = 0;                  // entries in use: the first `count`
  std::uint32_t identifiers[kMemStoreSize] = {};
  std::uint32_t handles[kMemStoreSize] = {};  // 0 when the allocation failed
};

// The process's table (read-only view for diagnostics and tests).
const MemStore& memstore();

bool create_mem(std::uint32_t identifier, std::uint32_t size);
void delete_mem(std::uint32_t identifier);
void* lock_mem(std::uint32_t identifier);
bool unlock_mem(std::uint32_t identifier);

}  // namespace corva::containers
