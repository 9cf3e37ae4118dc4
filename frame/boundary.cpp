#include "frame/boundary.h"

#include <new>
#include <stdexcept>

#include "corvaplat/api.h"

namespace corva::boundary {

void caught() noexcept {
  constexpr std::uint32_t kInternalError = 1359;
  try {
    throw;
  } catch (const std::bad_alloc&) {
    platform::SetLastError(platform::kErrorNotEnoughMemory);
  } catch (const std::length_error&) {
    platform::SetLastError(platform::kErrorNotEnoughMemory);  // a size beyond any allocation
  } catch (...) {
    platform::SetLastError(kInternalError);
  }
}

}  // namespace corva::boundary
