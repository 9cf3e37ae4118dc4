// DOS names, wildcards and directory searches next to their plain POSIX peers.
#include <benchmark/benchmark.h>

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "corvalib/files.h"
#include "corvaplat/paths.h"
#include "corvaplat/search.h"

namespace {

// Company directories mapped as B:, their files three quarters ".DAT": Co1
// of 1000 files, and Co100 and Co10000 of their number.
struct Company {
  std::string root;
  std::vector<std::string> names;  // those of Co1
  Company() {
    char tmpl[] = "/tmp/corva-bench-XXXXXX";
    root = mkdtemp(tmpl);
    for (int size : {100, 1000, 10000}) {
      const std::string dir = root + "/Data/" + directory(size);
      std::filesystem::create_directories(dir);
      for (int i = 0; i < size; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "LEDG%04d.%s", i, i % 4 == 0 ? "TXT" : "DAT");
        if (size == 1000) names.emplace_back(name);
        std::ofstream(dir + "/" + name) << "x";
      }
    }
    setenv("CORVALIB_DRIVE_B", root.c_str(), 1);
  }
  ~Company() {
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
  }
  static std::string directory(int size) { return size == 1000 ? "Co1" : "Co" + std::to_string(size); }
};

Company& company() {
  static Company c;
  return c;
}

void BM_DosWildcard(benchmark::State& s) {
  const auto& names = company().names;
  for (auto _ : s) {
    int n = 0;
    for (const auto& name : names) n += corva::platform::dos_wildcard_match("*.dat", name);
    benchmark::DoNotOptimize(n);
  }
  s.SetItemsProcessed(s.iterations() * static_cast<std::int64_t>(names.size()));
}
void BM_DosWildcard_fnmatch(benchmark::State& s) {
  const auto& names = company().names;
  for (auto _ : s) {
    int n = 0;
    for (const auto& name : names) n += fnmatch("*.dat", name.c_str(), FNM_CASEFOLD) == 0;
    benchmark::DoNotOptimize(n);
  }
  s.SetItemsProcessed(s.iterations() * static_cast<std::int64_t>(names.size()));
}

void BM_FindFirstNext(benchmark::State& s) {
  company();
  CvFindRecord f{};
  for (auto _ : s) {
    int n = 0;
    for (bool more = FindFirst(14, "B:\\DATA\\CO1\\*.DAT", 0, &f); more; more = FindNext(&f)) ++n;
    benchmark::DoNotOptimize(n);
  }
}
void BM_FindFirstNext_readdir(benchmark::State& s) {
  const std::string dir = company().root + "/Data/Co1";
  for (auto _ : s) {
    int n = 0;
    DIR* d = opendir(dir.c_str());
    while (const dirent* e = readdir(d)) {
      if (fnmatch("*.DAT", e->d_name, FNM_CASEFOLD) != 0) continue;
      struct stat st;
      stat((dir + "/" + e->d_name).c_str(), &st);
      ++n;
    }
    closedir(d);
    benchmark::DoNotOptimize(n);
  }
}

// A ".DAT" file in the middle of the directory of `size` files.
std::string middle_file(int size) {
  char name[32];
  std::snprintf(name, sizeof name, "LEDG%04d.DAT", size / 2 + 1);
  return Company::directory(size) + "/" + name;
}

// That file as a DOS name, in its own case or all in lower case.
std::string ledger_name(int size, bool lower) {
  company();
  std::string name = "B:\\Data\\" + middle_file(size);
  for (char& c : name) c = c == '/' ? '\\' : c;
  if (lower) {
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return name;
}

void BM_ResolveExactCase(benchmark::State& s) {
  const std::string name = ledger_name(static_cast<int>(s.range(0)), false);
  std::string host;
  for (auto _ : s) benchmark::DoNotOptimize(corva::platform::resolve_dos_path(name, host));
}
void BM_ResolveOtherCase(benchmark::State& s) {
  const std::string name = ledger_name(static_cast<int>(s.range(0)), true);
  std::string host;
  for (auto _ : s) benchmark::DoNotOptimize(corva::platform::resolve_dos_path(name, host));
  if (host.find("LEDG") == std::string::npos) s.SkipWithError("not resolved");
}
void BM_Resolve_stat(benchmark::State& s) {
  const int size = static_cast<int>(s.range(0));
  const std::string path = company().root + "/Data/" + middle_file(size);
  for (auto _ : s) {
    struct stat st;
    benchmark::DoNotOptimize(stat(path.c_str(), &st));
  }
}

BENCHMARK(BM_DosWildcard);
BENCHMARK(BM_DosWildcard_fnmatch);
BENCHMARK(BM_FindFirstNext);
BENCHMARK(BM_FindFirstNext_readdir);
BENCHMARK(BM_ResolveExactCase)->Arg(100)->Arg(1000)->Arg(10000);
BENCHMARK(BM_ResolveOtherCase)->Arg(100)->Arg(1000)->Arg(10000);
BENCHMARK(BM_Resolve_stat)->Arg(100)->Arg(1000)->Arg(10000);

}  // namespace
