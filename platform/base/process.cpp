#include <corvaplat/process.h>

#include <cstdio>
#include <cstdlib>

namespace corva::platform {
namespace {
FatalExitHandler g_handler = nullptr;
}

FatalExitHandler set_fatal_exit_handler(FatalExitHandler handler) {
  FatalExitHandler old = g_handler;
  g_handler = handler;
  return old;
}

void FatalAppExitA(std::uint32_t, const char* text) {
  if (text == nullptr) text = "";
  if (g_handler != nullptr) g_handler(text);
  std::fprintf(stderr, "Fatal application exit: %s\n", text);
  std::fflush(stdout);
  std::fflush(stderr);
  std::_Exit(3);
}

}  // namespace corva::platform
