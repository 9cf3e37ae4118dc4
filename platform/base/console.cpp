#include <corvaplat/console.h>

#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace corva::platform {

bool input_is_interactive() { return ::isatty(STDIN_FILENO) == 1; }

std::uint32_t finish_standard_output() {
  errno = 0;
  const bool flushed = std::fflush(stdout) == 0;
  const int err = errno;
  if (flushed && std::ferror(stdout) == 0) return kErrorSuccess;
  // A write that failed earlier left only the error flag, not its cause.
  return err != 0 ? error_from_errno(err) : kErrorWriteFault;
}

}  // namespace corva::platform
