#include "messages/library_box.h"

#include "corvalib/messages.h"

namespace corva::messages {

int library_message(std::uint16_t id) { return Lib_Message(0, id); }

}  // namespace corva::messages
