#include <corvaplat/console.h>

#include <unistd.h>

namespace corva::platform {

bool input_is_interactive() { return ::isatty(STDIN_FILENO) == 1; }

}  // namespace corva::platform
