// Heap blocks with a hidden size header, and locked global blocks.
//
// A heap block is one malloc allocation of 16 bytes of prefix plus the payload;
// the 32-bit header (payload size + 4) sits in the prefix's last 4 bytes, just
// before the payload, which keeps malloc's 16-byte alignment.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "containers/fatal.h"
#include "corvalib/frame.h"
#include "corvaplat/globalmem.h"
#include "frame/boundary.h"
#include "messages/library_box.h"

namespace corva::frame {
namespace {

constexpr std::size_t kPrefix = 16;
constexpr std::uint16_t kNotEnoughMemory = 20301;
constexpr std::uint16_t kCannotUnlock = 20402;

unsigned char* block_start(void* payload) { return static_cast<unsigned char*>(payload) - kPrefix; }

std::uint32_t header(const void* payload) {
  std::uint32_t h;
  std::memcpy(&h, static_cast<const unsigned char*>(payload) - 4, 4);
  return h;
}

void* allocate(std::uint32_t size) {
  if (size == 0) size = 1;
  // The header holds size + 4 in 32 bits; a larger request cannot be described.
  void* base = size <= std::numeric_limits<std::uint32_t>::max() - 4 && !platform::allocation_fault()
                   ? std::calloc(1, kPrefix + size)
                   : nullptr;
  if (base == nullptr) {
    messages::library_message(kNotEnoughMemory);
    return nullptr;
  }
  auto* payload = static_cast<unsigned char*>(base) + kPrefix;
  const std::uint32_t h = size + 4;
  std::memcpy(payload - 4, &h, 4);
  return payload;
}

}  // namespace
}  // namespace corva::frame

using namespace corva;

extern "C" {

void* _RealAllocate(uint32_t size) try { return frame::allocate(size); } CORVA_BOUNDARY(nullptr)

void* _RealDeAllocate(void* pointer) try {
  if (pointer != nullptr) std::free(frame::block_start(pointer));
  return nullptr;
} CORVA_BOUNDARY(nullptr)

void* _RealReAllocate(void* pointer, uint32_t size) try {
  void* fresh = frame::allocate(size);
  if (fresh == nullptr || pointer == nullptr) return fresh;
  const std::uint32_t old_size = frame::header(pointer) - 4;
  std::memcpy(fresh, pointer, std::min(old_size, size == 0 ? 1u : size));
  _RealDeAllocate(pointer);
  return fresh;
} CORVA_BOUNDARY(nullptr)

int32_t _CppAllocate(void** variable, uint32_t size, const char*, int32_t) try {
  if (variable == nullptr) return 0;
  *variable = _RealAllocate(size);
  return *variable != nullptr;
} CORVA_BOUNDARY(0)

int32_t _CppReAllocate(void** old_variable, void** new_variable, uint32_t size, const char*,
                       int32_t) try {
  if (new_variable == nullptr) return 0;
  void* old = old_variable ? *old_variable : nullptr;
  *new_variable = _RealReAllocate(old, size);
  return *new_variable != nullptr;
} CORVA_BOUNDARY(0)

void* _OldAllocate(uint32_t* handle, uint32_t size) try {
  if (handle == nullptr) return nullptr;
  *handle = platform::GlobalAlloc(platform::GMEM_MOVEABLE | platform::GMEM_ZEROINIT, size);
  if (*handle == 0) {
    messages::library_message(frame::kNotEnoughMemory);
    return nullptr;
  }
  return platform::GlobalLock(*handle);
} CORVA_BOUNDARY(nullptr)

void OldDeAllocate(uint32_t* handle) try {
  if (handle == nullptr) return;
  if (platform::GlobalUnlock(*handle)) containers::fatal_memstore(frame::kCannotUnlock);
  *handle = platform::GlobalFree(*handle);
} CORVA_BOUNDARY()

}  // extern "C"
