// Slots, the string search, and the frame's exported functions.
#include <algorithm>
#include <array>
#include <cstring>

#include "corvalib/frame.h"
#include "corvaplat/framework.h"
#include "corvaplat/modules.h"
#include "frame/boundary.h"
#include "frame/state.h"

namespace corva::frame {
namespace {

constexpr int kSlots = 15;
std::array<std::uintptr_t, kSlots> g_slot_data{};
std::array<CvHMODULE, kSlots> g_slot_module{};

// The entry array's byte size is a 16-bit quantity: 10922 entries of 6 bytes.
constexpr std::uint16_t kMaxStringInstances = 0xFFFF / sizeof(StringInstanceEntry);

bool valid_slot(std::int32_t slot) { return slot >= 0 && slot < kSlots; }

}  // namespace

platform::ExtensionModule g_extension;  // the library's extension-module record

void reset_slots() {
  g_slot_data.fill(0);
  g_slot_module.fill(0);
}

void free_string_search() {
  CorvaLibDataType& r = record();
  r.StringInstances = static_cast<StringInstanceEntry*>(_RealDeAllocate(r.StringInstances));
  r.StringInstanceCount = 0;
}

}  // namespace corva::frame

using namespace corva;

extern "C" {

void InitCorvaLibDLL(void) try {
  platform::add_dyn_link_library(frame::g_extension, false);
} CORVA_BOUNDARY()

CvHMODULE CorvaLibHandle(void) try { return frame::own_module(); } CORVA_BOUNDARY(0)

int32_t RequirePerInstanceData(CvHMODULE module, int32_t slot, uintptr_t data) try {
  if (frame::valid_slot(slot)) {
    frame::g_slot_data[slot] = data;
    frame::g_slot_module[slot] = module;
  }
  return 1;
} CORVA_BOUNDARY(0)

uintptr_t GetPerInstanceData(int32_t slot) try {
  return frame::valid_slot(slot) ? frame::g_slot_data[slot] : 0;
} CORVA_BOUNDARY(0)

CvHMODULE GetLibraryHandle(int32_t slot) try {
  return frame::valid_slot(slot) ? frame::g_slot_module[slot] : 0;
} CORVA_BOUNDARY(0)

void RegisterInstanceForStringSearch(CvHMODULE module, int16_t priority) try {
  CorvaLibDataType& r = frame::record();
  if (r.StringInstanceCount >= frame::kMaxStringInstances) return;
  const std::uint16_t count = r.StringInstanceCount + 1;
  void* grown = nullptr;
  void* old = r.StringInstances;
  if (!_CppReAllocate(&old, &grown, count * sizeof(StringInstanceEntry), __FILE__, __LINE__))
    return;  // the allocator has told the user; earlier entries stay
  auto* entries = static_cast<StringInstanceEntry*>(grown);
  entries[count - 1] = StringInstanceEntry{module, priority};
  // Unstable, as the order of equal priorities is not part of the contract.
  std::sort(entries, entries + count, [](const StringInstanceEntry& a, const StringInstanceEntry& b) {
    return a.Priority < b.Priority;
  });
  r.StringInstances = entries;
  r.StringInstanceCount = count;
} CORVA_BOUNDARY()

int16_t MyLoadString(uint16_t id, uint16_t high, char* buffer) try {
  if (buffer == nullptr) return 0;
  std::memset(buffer, 0, std::size_t{high} + 1);
  const int size = high + 1;
  CorvaLibDataType& r = frame::record();
  if (r.LastStringInstance != 0) {
    if (int n = platform::LoadStringA(r.LastStringInstance, id, buffer, size); n != 0)
      return static_cast<int16_t>(n);
  }
  for (std::uint16_t i = 0; i < r.StringInstanceCount; ++i) {
    const CvHMODULE module = r.StringInstances[i].Module;
    if (int n = platform::LoadStringA(module, id, buffer, size); n != 0) {
      r.LastStringInstance = module;
      return static_cast<int16_t>(n);
    }
  }
  std::memset(buffer, 0, std::size_t{high} + 1);
  return 0;
} CORVA_BOUNDARY(0)

}  // extern "C"
