// Reading state records from a 60-state tax file, with the profile cache
// warm (the file unchanged between calls) and cold (parsed on every call).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "corvalib/frame.h"
#include "corvalib/payroll.h"
#include "corvalib/text.h"
#include "corvaplat/profile.h"

namespace {

struct TaxFile {
  std::string dir;
  TaxFile() {
    dir = (std::filesystem::temp_directory_path() / "corva-tax-bench").string();
    std::filesystem::create_directories(dir);
    std::ofstream out(dir + "/TaxInfo.Dat", std::ios::binary);
    out << ";VERSION~2026.1\r\n[General]\r\nStateList=";
    for (int i = 0; i < 60; ++i) out << code(i) << (i < 59 ? "," : "\r\n");
    for (int i = 0; i < 60; ++i) {
      out << "[" << code(i) << "]\r\nHasLocalities=Y\r\nLocalities=City A,City B\r\nSUILimit="
          << 7000 + i << "\r\nSIT=Y\r\nSUIEe=N\r\nSDIEe=Y\r\nSIT_CAG=State " << i
          << "\r\nSUI_ER_CAG=UI " << i << "\r\nStatefilingstatus=Single,Married\r\n";
    }
    setenv("CORVALIB_DRIVE_X", dir.c_str(), 1);
    Assign(3, "X:\\", 63, MyCorvaLibDataPtr->DataPath);
  }
  static std::string code(int i) { return {static_cast<char>('A' + i / 26), static_cast<char>('A' + i % 26)}; }
};

const TaxFile& file() {
  static TaxFile f;
  return f;
}

void BM_StateTaxInfo_cached(benchmark::State& s) {
  file();
  StateTaxInfo info;
  int i = 0;
  for (auto _ : s) {
    benchmark::DoNotOptimize(NewGetStateTaxInfo(TaxFile::code(i).c_str(), &info));
    i = (i + 1) % 60;
  }
}
void BM_StateTaxInfo_uncached(benchmark::State& s) {
  file();
  StateTaxInfo info;
  int i = 0;
  for (auto _ : s) {
    corva::platform::profile_cache_clear();
    benchmark::DoNotOptimize(NewGetStateTaxInfo(TaxFile::code(i).c_str(), &info));
    i = (i + 1) % 60;
  }
}
BENCHMARK(BM_StateTaxInfo_cached)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StateTaxInfo_uncached)->Unit(benchmark::kMicrosecond);

}  // namespace
