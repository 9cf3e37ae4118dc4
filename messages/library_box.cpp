#include "messages/library_box.h"

#include "corvalib/frame.h"
#include "corvaplat/msgbox.h"

namespace corva::messages {

int library_message(std::uint16_t id) {
  char text[257];
  MyLoadString(id, 256, text);
  const char* shown = text[0] == '@' ? text + 1 : text;
  return platform::MessageBoxA(0, shown, "Error",
                               platform::MB_OK | platform::MB_ICONHAND | platform::MB_TASKMODAL);
}

}  // namespace corva::messages
