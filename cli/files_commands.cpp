// corva files: the group of the file words (lock, find, path), each defined in
// a source of its own.
#include "cli/command.h"

namespace corva::cli {
namespace {

const Registration reg{{"files",
                        "buffered files, record locks, paths and searches",
                        [](CLI::App& app) {
                          app.footer(
                              "Drive letters map through CORVALIB_DRIVE_<LETTER> "
                              "(C: defaults to /).");
                        },
                        {}}};

}  // namespace
}  // namespace corva::cli
