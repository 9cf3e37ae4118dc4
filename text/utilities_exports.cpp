// The exported text utilities.
#include "corvalib/text.h"
#include "frame/boundary.h"
#include "text/utilities.h"

namespace tx = corva::text;

extern "C" {

void TextIncrement(uint16_t high, char* text) try {
  if (text != nullptr) tx::increment(high, text);
} CORVA_BOUNDARY()

void TextDecrement(uint16_t high, char* text) try {
  if (text != nullptr) tx::decrement(high, text);
} CORVA_BOUNDARY()

int16_t MatchMask(const char* text, const char* mask) try {
  return static_cast<int16_t>(tx::match_mask(text, mask));
} CORVA_BOUNDARY(1)

int32_t LineWrapper(uint16_t line_high, char* line, uint16_t text_high, char* text) try {
  if (line == nullptr) return 0;
  return tx::wrap_line(line_high, line, text_high, text) ? 1 : 0;
} CORVA_BOUNDARY(0)

void FixPrefix(uint16_t high, char* text) try {
  if (text != nullptr) tx::double_ampersands(high, text);
} CORVA_BOUNDARY()

}  // extern "C"
