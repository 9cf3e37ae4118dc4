#include "cli/scratch.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <random>

namespace corva::cli {

namespace fs = std::filesystem;

ScratchDir::ScratchDir(std::string_view purpose) {
  std::error_code ec;
  const fs::path base = fs::temp_directory_path(ec);  // $TMPDIR when set
  std::random_device random;
  // A fresh name each try: another process may take a name between two tries.
  for (int tries = 0; !ec && tries < 16; ++tries) {
    char suffix[9];
    std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(random()));
    const fs::path dir = base / ("corva-" + std::string(purpose) + "-" + suffix);
    if (fs::create_directory(dir, ec)) {
      fs::permissions(dir, fs::perms::owner_all, ec);
      path_ = dir.string();
      return;
    }
  }
  std::cerr << "corva: cannot make a temporary directory in "
            << (base.empty() ? std::string("the temporary directory") : base.string()) << "\n";
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  if (!path_.empty()) fs::remove_all(path_, ec);
}

}  // namespace corva::cli
