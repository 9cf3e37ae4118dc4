// Reading a key of a 300-key INI file: the library's cached read next to a
// plain re-read of the file on every call.
#include <benchmark/benchmark.h>

#include <strings.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "corvalib/frame.h"
#include "corvaplat/config.h"
#include "corvaplat/profile.h"

namespace {

// A CVX70.INI of 300 keys in 10 sections, in a Windows directory of its own.
const std::string& sample_file() {
  static const std::string path = [] {
    char pattern[] = "/tmp/corva-bench-XXXXXX";
    const std::string dir = mkdtemp(pattern);
    setenv("CORVALIB_WINDIR", dir.c_str(), 1);
    corva::platform::reload_configuration();
    const std::string file = dir + "/CVX70.INI";
    FILE* f = std::fopen(file.c_str(), "w");
    for (int s = 0; s < 10; ++s) {
      std::fprintf(f, "[Section%d]\n", s);
      for (int k = 0; k < 30; ++k) std::fprintf(f, "Key%02d = value of key %d in section %d\n", k, k, s);
      std::fprintf(f, "\n");
    }
    std::fclose(f);
    return file;
  }();
  return path;
}

std::string trimmed(const char* begin, const char* end) {
  while (begin < end && std::isspace(static_cast<unsigned char>(*begin))) ++begin;
  while (end > begin && std::isspace(static_cast<unsigned char>(end[-1]))) --end;
  return std::string(begin, end);
}

// The peer: open the file, read it line by line, match section and key
// without regard to case, copy the trimmed value.
unsigned reread_value(const char* file, const char* section, const char* key, char* buffer,
                      unsigned size) {
  FILE* f = std::fopen(file, "r");
  buffer[0] = '\0';
  if (f == nullptr) return 0;
  char line[512];
  bool in_section = false;
  unsigned n = 0;
  while (std::fgets(line, sizeof line, f) != nullptr) {
    const char* end = line + std::strlen(line);
    const std::string t = trimmed(line, end);
    if (!t.empty() && t.front() == '[') {
      const std::size_t close = t.find(']');
      in_section = close != std::string::npos &&
                   strcasecmp(trimmed(t.data() + 1, t.data() + close).c_str(), section) == 0;
      continue;
    }
    if (!in_section) continue;
    const std::size_t eq = t.find('=');
    if (eq == std::string::npos || strcasecmp(trimmed(t.data(), t.data() + eq).c_str(), key) != 0)
      continue;
    const std::string v = trimmed(t.data() + eq + 1, t.data() + t.size());
    n = static_cast<unsigned>(std::min<std::size_t>(v.size(), size - 1));
    std::memcpy(buffer, v.data(), n);
    buffer[n] = '\0';
    break;
  }
  std::fclose(f);
  return n;
}

void BM_GetCVXProfileString(benchmark::State& s) {
  sample_file();
  char buffer[64];
  for (auto _ : s) {
    benchmark::DoNotOptimize(GetCVXProfileString("section7", "KEY15", "", buffer, 64));
    benchmark::ClobberMemory();
  }
}
void BM_GetCVXProfileString_reread(benchmark::State& s) {
  const std::string& file = sample_file();
  char buffer[64];
  for (auto _ : s) {
    benchmark::DoNotOptimize(reread_value(file.c_str(), "section7", "KEY15", buffer, 64));
    benchmark::ClobberMemory();
  }
}

BENCHMARK(BM_GetCVXProfileString);
BENCHMARK(BM_GetCVXProfileString_reread);

}  // namespace
