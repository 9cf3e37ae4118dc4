// The exported named-memory-block functions.
#include "containers/memstore.h"
#include "corvalib/containers.h"

namespace cn = corva::containers;

extern "C" {

uint8_t CreateMem(uint32_t identifier, uint32_t size) { return cn::create_mem(identifier, size); }

void DeleteMem(uint32_t identifier) { cn::delete_mem(identifier); }

void* LockMem(uint32_t identifier) { return cn::lock_mem(identifier); }

int32_t UnLockMem(uint32_t identifier) { return cn::unlock_mem(identifier) ? 1 : 0; }

}  // extern "C"
