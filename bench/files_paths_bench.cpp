// DOS names, wildcards and directory searches next to their plain POSIX peers.
#include <benchmark/benchmark.h>

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

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

// A company directory of 1000 files, three quarters of them ".DAT", mapped as B:.
struct Company {
  std::string root;
  std::vector<std::string> names;
  Company() {
    char tmpl[] = "/tmp/corva-bench-XXXXXX";
    root = mkdtemp(tmpl);
    std::filesystem::create_directories(root + "/Data/Co1");
    for (int i = 0; i < 1000; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "LEDG%04d.%s", i, i % 4 == 0 ? "TXT" : "DAT");
      names.emplace_back(name);
      std::ofstream(root + "/Data/Co1/" + name) << "x";
    }
    setenv("CORVALIB_DRIVE_B", root.c_str(), 1);
  }
  ~Company() {
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
  }
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

void BM_ResolveExactCase(benchmark::State& s) {
  company();
  std::string host;
  for (auto _ : s) {
    benchmark::DoNotOptimize(corva::platform::resolve_dos_path("B:\\Data\\Co1\\LEDG0501.DAT", host));
  }
}
void BM_ResolveOtherCase(benchmark::State& s) {
  company();
  std::string host;
  for (auto _ : s) {
    benchmark::DoNotOptimize(corva::platform::resolve_dos_path("b:\\data\\co1\\ledg0501.dat", host));
  }
}
void BM_Resolve_stat(benchmark::State& s) {
  const std::string path = company().root + "/Data/Co1/LEDG0501.DAT";
  for (auto _ : s) {
    struct stat st;
    benchmark::DoNotOptimize(stat(path.c_str(), &st));
  }
}

BENCHMARK(BM_DosWildcard);
BENCHMARK(BM_DosWildcard_fnmatch);
BENCHMARK(BM_FindFirstNext);
BENCHMARK(BM_FindFirstNext_readdir);
BENCHMARK(BM_ResolveExactCase);
BENCHMARK(BM_ResolveOtherCase);
BENCHMARK(BM_Resolve_stat);

}  // namespace
