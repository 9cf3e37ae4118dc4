#include "containers/fatal.h"

#include "corvaplat/process.h"
#include "messages/library_box.h"

namespace corva::containers {

void fatal_memstore(std::uint16_t id) {
  messages::library_message(id);
  messages::library_message(20300);
  platform::FatalAppExitA(0, "Problem detected in MemStore");
}

}  // namespace corva::containers
