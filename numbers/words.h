// A money amount written out in words for printing on a cheque.
#pragma once
#include <cstdint>

namespace corva::numbers {

// dest (not null) := the words of the amount, cut at high and NUL-filled.
void amount_to_words(double amount, std::uint16_t high, char* dest);

}  // namespace corva::numbers
