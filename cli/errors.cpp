// The words of the error numbers the commands meet, kept in one place so no
// message shows a bare number.
#include "cli/command.h"
#include "corvaplat/api.h"

namespace corva::cli {

std::string error_words(std::uint32_t error) { return platform::error_text(error); }

std::string file_result_words(std::int32_t result) {
  switch (result) {
    case 0: return "done";
    case 1: return "the operation failed";
    case 3: return "the file variable was used the wrong way";
    case 4: return "no such directory, or the name is too long";
    case 5: return "no such file";
    case 6: return "the file is not open";
    case 7: return "too many open files";
    case 8: return "the disk is full";
    case 11: return "access denied (another program may hold the file)";
    default: return "file result " + std::to_string(result);
  }
}

}  // namespace corva::cli
