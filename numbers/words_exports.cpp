// The exported amount in words.
#include "corvalib/numbers.h"
#include "frame/boundary.h"
#include "numbers/words.h"

extern "C" void AmountToWords(double amount, uint16_t high, char* dest) try {
  if (dest != nullptr) corva::numbers::amount_to_words(amount, high, dest);
} CORVA_BOUNDARY()
