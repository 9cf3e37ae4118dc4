#include "files/finds.h"

namespace corva::files {

// No search is kept open yet.
void close_all_finds() {}

}  // namespace corva::files
