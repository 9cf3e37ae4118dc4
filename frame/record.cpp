// The shared record and its fixed layout.
#include <cstddef>

#include "corvalib/frame.h"
#include "frame/state.h"

namespace {

CorvaLibDataType g_record;

// The layout is part of the interface: byte-packed, in this field order, with
// native-width pointers (so a 32-bit build has the original layout).
constexpr std::size_t kP = sizeof(void*);
static_assert(offsetof(CorvaLibDataType, MainWindow) == 0);
static_assert(offsetof(CorvaLibDataType, MDIClientWindow) == 4);
static_assert(offsetof(CorvaLibDataType, AppActive) == 8);
static_assert(offsetof(CorvaLibDataType, HostReserved) == 9);
static_assert(offsetof(CorvaLibDataType, TopWindow) == 13);
static_assert(offsetof(CorvaLibDataType, MessageShowing) == 17);
static_assert(offsetof(CorvaLibDataType, StringInstances) == 18);
static_assert(offsetof(CorvaLibDataType, StringInstanceCount) == 18 + kP);
static_assert(offsetof(CorvaLibDataType, LastStringInstance) == 20 + kP);
static_assert(offsetof(CorvaLibDataType, DataPath) == 24 + kP);
static_assert(sizeof(CorvaLibDataType) == 88 + kP);
static_assert(kP != 4 || sizeof(CorvaLibDataType) == 92, "32-bit layout");
static_assert(kP != 8 || sizeof(CorvaLibDataType) == 96, "64-bit layout");
static_assert(sizeof(StringInstanceEntry) == 6);

}  // namespace

extern "C" CORVA_API CorvaLibDataType* const MyCorvaLibDataPtr = &g_record;

namespace corva::frame {
CorvaLibDataType& record() { return g_record; }
}  // namespace corva::frame
