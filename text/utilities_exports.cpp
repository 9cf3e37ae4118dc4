// The exported text utilities.
#include "corvalib/text.h"
#include "text/utilities.h"

namespace tx = corva::text;

extern "C" {

void TextIncrement(uint16_t high, char* text) {
  if (text != nullptr) tx::increment(high, text);
}

void TextDecrement(uint16_t high, char* text) {
  if (text != nullptr) tx::decrement(high, text);
}

int16_t MatchMask(const char* text, const char* mask) {
  return static_cast<int16_t>(tx::match_mask(text, mask));
}

int32_t LineWrapper(uint16_t line_high, char* line, uint16_t text_high, char* text) {
  if (line == nullptr) return 0;
  return tx::wrap_line(line_high, line, text_high, text) ? 1 : 0;
}

void FixPrefix(uint16_t high, char* text) {
  if (text != nullptr) tx::double_ampersands(high, text);
}

}  // extern "C"
