// What the fuzzers share: the oracle's abort, texts in arrays of exactly
// HIGH + 1 bytes, and a temporary root that stands for the Windows directory,
// drives C: and D: and the data directory, so nothing outside it is written.
#pragma once
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "corvalib/frame.h"
#include "corvaplat/config.h"
#include "corvaplat/profile.h"

namespace corva::fuzz {

inline void check(bool ok) {
  if (!ok) std::abort();
}

// The bytes as a bounded string: an array of exactly high + 1 bytes holding
// them (with no NUL when they fill it), so a read past HIGH is caught.
inline std::vector<char> bounded(std::string_view bytes, std::uint16_t& high) {
  std::vector<char> text(bytes.begin(), bytes.end());
  if (text.empty()) text.push_back('\0');
  high = static_cast<std::uint16_t>(std::min<std::size_t>(text.size() - 1, 0xFFFF));
  text.resize(std::size_t{high} + 1);
  return text;
}

// The process's temporary root, made on first use and removed at exit.
class Root {
 public:
  static const Root& get() {
    static Root root;
    return root;
  }
  const std::string& path() const { return path_; }
  std::string windir() const { return path_ + "/windir"; }
  std::string drive_d() const { return path_ + "/d"; }
  // The data directory, D:\DATA\ to the library.
  std::string data() const { return path_ + "/d/DATA"; }
  void write(const std::string& file, std::string_view bytes) const {
    std::ofstream(file, std::ios::binary | std::ios::trunc).write(bytes.data(),
                                                                  static_cast<std::streamsize>(bytes.size()));
    platform::profile_cache_clear();
  }
  // Empties the Windows directory (the profile and registry files).
  void clear_windir() const {
    std::error_code ec;
    std::filesystem::remove_all(windir(), ec);
    std::filesystem::create_directories(windir(), ec);
    platform::profile_cache_clear();
  }

 private:
  Root() {
    std::string pattern = (std::filesystem::temp_directory_path() / "corva-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    path_ = pattern;
    for (const char* sub : {"/windir", "/c", "/d", "/d/DATA"})
      std::filesystem::create_directories(path_ + sub);
    setenv("CORVALIB_WINDIR", windir().c_str(), 1);
    setenv("CORVALIB_DRIVE_C", (path_ + "/c").c_str(), 1);
    setenv("CORVALIB_DRIVE_D", drive_d().c_str(), 1);
    platform::reload_configuration();
    std::memset(MyCorvaLibDataPtr->DataPath, 0, sizeof MyCorvaLibDataPtr->DataPath);
    std::memcpy(MyCorvaLibDataPtr->DataPath, "D:\\DATA\\", 8);
  }
  ~Root() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  std::string path_;
};

}  // namespace corva::fuzz
