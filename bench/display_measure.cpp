// Measures a live display: the processor time a shown screen uses while
// nobody touches it, and how long a typed key takes to reach the screen.
// Needs a desktop (DISPLAY) and xdotool; run it under Xvfb:
//   xvfb-run -a build/default/bench/corva_display_measure [--idle-seconds 10]
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "corvaplat/clock.h"
#include "corvaplat/display.h"
#include "corvaplat/windows.h"

namespace {

namespace plat = corva::platform;

constexpr plat::ModuleHandle kModule = 0xBE7;
constexpr std::uint16_t kScreen = 1;
constexpr std::uintptr_t kStopTimer = 1;

std::intptr_t screen_proc(plat::WindowHandle, std::uint32_t m, plat::WPARAM, plat::LPARAM) {
  return m == plat::WM_INITDIALOG ? 1 : 0;
}

void stop(plat::WindowHandle hwnd, std::uint32_t, std::uintptr_t id, std::uint32_t) {
  plat::KillTimer(hwnd, id);
  plat::PostQuitMessage(0);
}

// Runs the message loop (with the dialog keys) until the stop timer fires.
void run_for(plat::WindowHandle dialog, std::uint32_t milliseconds) {
  plat::SetTimer(0, kStopTimer, milliseconds, stop);
  plat::MSG m{};
  while (plat::GetMessageA(&m, 0, 0, 0) > 0) {
    if (!plat::IsDialogMessageA(dialog, &m)) {
      plat::TranslateMessage(&m);
      plat::DispatchMessageA(&m);
    }
  }
}

double cpu_ms() { return 1000.0 * static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

}  // namespace

int main(int argc, char** argv) {
  int idle_seconds = 10;
  if (argc == 3 && std::string(argv[1]) == "--idle-seconds") idle_seconds = std::atoi(argv[2]);
  std::string error;
  if (!plat::select_display("gtk", &error)) {
    std::fprintf(stderr, "no display: %s\n", error.c_str());
    return 77;
  }
  plat::DialogTemplate screen;
  screen.caption = "Measured";
  screen.x = screen.y = 10;
  screen.cx = 200;
  screen.cy = 60;
  screen.items.push_back({"EDIT", "", 101, plat::WS_VISIBLE | plat::WS_TABSTOP | plat::WS_BORDER, 10, 10, 180, 12});
  screen.items.push_back({"BUTTON", "OK", 1, plat::WS_VISIBLE | plat::WS_TABSTOP | plat::BS_DEFPUSHBUTTON, 140, 36, 50, 14});
  plat::register_dialog_template(kModule, kScreen, screen);
  const plat::WindowHandle dialog = plat::CreateDialogParamA(kModule, kScreen, 0, screen_proc, 0);
  run_for(dialog, 1000);  // shown and painted

  const double before = cpu_ms();
  const std::uint32_t start = plat::GetTickCount();
  run_for(dialog, static_cast<std::uint32_t>(idle_seconds) * 1000);
  const double idle = cpu_ms() - before;
  const double seconds = (plat::GetTickCount() - start) / 1000.0;
  std::printf("idle: %.1f ms of processor time in %.1f s (%.3f%%)\n", idle, seconds,
              idle / (seconds * 10.0));

  // Keys typed by a person (XTEST), 80 ms apart, into the focused field.
  if (std::system("xdotool search --sync --name '^Measured$' windowfocus --sync "
                  "type --delay 80 '1234567890123456789012345678901234567890' &") != 0) {
    std::fprintf(stderr, "xdotool did not start\n");
    return 1;
  }
  run_for(dialog, 6000);
  const plat::DisplayStatistics s = plat::current_display()->statistics();
  std::printf("keys: %llu, frames: %llu, painted: %llu times, %llu pixels\n",
              static_cast<unsigned long long>(s.keys), static_cast<unsigned long long>(s.frames),
              static_cast<unsigned long long>(s.paints),
              static_cast<unsigned long long>(s.painted_pixels));
  std::printf("key to frame: median %.2f ms, worst %.2f ms (one frame is 16.7 ms)\n",
              static_cast<double>(s.median_key_to_frame_us) / 1000.0,
              static_cast<double>(s.worst_key_to_frame_us) / 1000.0);
  std::printf("field holds: \"%s\"\n", plat::window_text(plat::GetDlgItem(dialog, 101)).c_str());
  return 0;
}
