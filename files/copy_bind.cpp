// Binds the copy to the library's buffered files and message engine.
#include "corvalib/files.h"
#include "corvalib/messages.h"
#include "files/copy_io.h"

namespace corva::files {

CopyIo& copy_io() {
  static CopyIo io = {Lookup, Create32, ReadBlock, WriteBlock, FileLength, Close, Message};
  return io;
}

}  // namespace corva::files
