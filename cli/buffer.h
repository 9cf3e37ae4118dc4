// A working bounded string of a requested HIGH for the commands, filled from
// a command-line word and cut to fit.
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "corvalib.h"

namespace corva::cli {

struct Buffer {
  std::vector<char> bytes;
  uint16_t high;
  Buffer(unsigned long h, const std::string& text) : bytes(h + 1), high(static_cast<uint16_t>(h)) {
    Assign(static_cast<uint16_t>(std::min<std::size_t>(text.size(), 65535)), text.c_str(), high,
           bytes.data());
  }
  char* data() { return bytes.data(); }
  std::string text() const { return std::string(bytes.data(), Length(high, bytes.data())); }
};

}  // namespace corva::cli
