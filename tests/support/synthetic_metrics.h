// Measures text with the graphics layer's synthetic metrics for the life of
// the object, for tests that check layout arithmetic rather than a font.
#pragma once
#include "corvaplat/gdi.h"

namespace corva::test {

class SyntheticMetrics {
 public:
  SyntheticMetrics()
      : saved_(platform::set_text_metrics(platform::TextMetrics::kSynthetic)) {}
  ~SyntheticMetrics() { platform::set_text_metrics(saved_); }
  SyntheticMetrics(const SyntheticMetrics&) = delete;
  SyntheticMetrics& operator=(const SyntheticMetrics&) = delete;

 private:
  platform::TextMetrics saved_;
};

}  // namespace corva::test
