// Moveable global-memory blocks with lock counts (GlobalAlloc and friends).
#pragma once
#include <corvaplat/api.h>

#include <cstddef>

namespace corva::platform {

using GlobalHandle = std::uint32_t;

enum : std::uint32_t { GMEM_FIXED = 0x0, GMEM_MOVEABLE = 0x2, GMEM_ZEROINIT = 0x40 };

// A new block (zero-filled with GMEM_ZEROINIT); 0 when memory runs out.
CORVAPLAT_API GlobalHandle GlobalAlloc(std::uint32_t flags, std::size_t bytes);
// A new size for an unlocked or locked block, keeping its contents; 0 on failure.
CORVAPLAT_API GlobalHandle GlobalReAlloc(GlobalHandle h, std::size_t bytes, std::uint32_t flags);
// Locks the block (counting) and returns its address; null for a bad handle.
CORVAPLAT_API void* GlobalLock(GlobalHandle h);
// Drops one lock; returns true while the block stays locked, false when the
// count reaches 0 (GetLastError 0) or the block was not locked (158) or bad (6).
CORVAPLAT_API bool GlobalUnlock(GlobalHandle h);
// Frees the block: 0 on success, the handle itself when it is not a block.
CORVAPLAT_API GlobalHandle GlobalFree(GlobalHandle h);
CORVAPLAT_API std::size_t GlobalSize(GlobalHandle h);
// Current lock count; -1 for a bad handle.
CORVAPLAT_API int global_lock_count(GlobalHandle h);
// Makes the next n allocations (GlobalAlloc, GlobalReAlloc) fail, for tests.
CORVAPLAT_API void fail_next_global_allocations(int n);

// Allocation faults for tests: the hook is asked before each allocation of a
// global block here and of a heap block of the library's allocator, and true
// makes that allocation fail as if memory had run out. Null (the default)
// removes it. allocation_fault() asks the hook (false without one).
using AllocationFaultHook = bool (*)();
CORVAPLAT_API void set_allocation_fault_hook(AllocationFaultHook hook);
CORVAPLAT_API bool allocation_fault();

}  // namespace corva::platform
