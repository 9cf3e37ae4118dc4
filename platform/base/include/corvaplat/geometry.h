// Points and rectangles, shared by the window system and the graphics layer.
#pragma once
#include <cstdint>

namespace corva::platform {

struct Point {
  std::int32_t x, y;
};
struct Rect {
  std::int32_t left, top, right, bottom;
  std::int32_t width() const { return right - left; }
  std::int32_t height() const { return bottom - top; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace corva::platform
