// The exported named-memory-block functions.
#include "containers/memstore.h"
#include "corvalib/containers.h"
#include "frame/boundary.h"

namespace cn = corva::containers;

extern "C" {

uint8_t CreateMem(uint32_t identifier, uint32_t size) try {
  return cn::create_mem(identifier, size);
} CORVA_BOUNDARY(0)

void DeleteMem(uint32_t identifier) try { cn::delete_mem(identifier); } CORVA_BOUNDARY()

void* LockMem(uint32_t identifier) try { return cn::lock_mem(identifier); } CORVA_BOUNDARY(nullptr)

int32_t UnLockMem(uint32_t identifier) try {
  return cn::unlock_mem(identifier) ? 1 : 0;
} CORVA_BOUNDARY(0)

}  // extern "C"
