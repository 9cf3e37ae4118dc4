// A scratch directory of a command's own under $TMPDIR (else /tmp), removed
// with everything in it when the object goes, however the command ends.
#pragma once
#include <string>
#include <string_view>

namespace corva::cli {

class ScratchDir {
 public:
  // Makes "corva-PURPOSE-XXXXXXXX", readable by its owner only; path() is
  // empty (and a message on standard error) when it cannot be made.
  explicit ScratchDir(std::string_view purpose);
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace corva::cli
