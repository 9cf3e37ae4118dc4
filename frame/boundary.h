// The exported interface's exception boundary. No C++ exception leaves the
// library: every exported function is written as a function-try-block that
// ends in CORVA_BOUNDARY, which turns an escaping exception (memory running
// out, above all) into the function's documented failure answer:
//
//   int32_t ListAdd(ListHeader* list, ...) try {
//     ...
//   } CORVA_BOUNDARY(0)
//
// CORVA_BOUNDARY() ends a function that answers nothing. The failure answer is
// evaluated only after the exception was caught, and may use the parameters.
#pragma once
#include <cstdint>

namespace corva::boundary {

// Records an exception stopped at the boundary: the last error becomes 8 (not
// enough memory) for an allocation that failed, 1359 (internal error) for any
// other. Called from within the handler only.
void caught() noexcept;

}  // namespace corva::boundary

#define CORVA_BOUNDARY(...)     \
  catch (...) {                 \
    ::corva::boundary::caught(); \
    return __VA_ARGS__;          \
  }
