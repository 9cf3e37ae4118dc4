// The message record the queue hands out, on its own so that the library's
// public header can give C++ hosts this very type as CvMSG.
#pragma once
#include <corvaplat/api.h>
#include <corvaplat/geometry.h>

#include <cstdint>

namespace corva::platform {

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;

// One queued message, laid out as the Win32 MSG record (with pointer-sized
// wParam and lParam), and as the library's C record CvMSG.
struct MSG {
  WindowHandle hwnd;
  std::uint32_t message;
  WPARAM wParam;
  LPARAM lParam;
  std::uint32_t time;
  Point pt;
};

}  // namespace corva::platform
