// Logging one message to the error log, next to a plain C rewrite of the same
// 3950-byte file without a lock (the floor).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "corvalib/frame.h"
#include "corvalib/messages.h"
#include "corvaplat/msgbox.h"

namespace {

namespace fs = std::filesystem;

struct ScratchDir {
  fs::path dir;
  ScratchDir() {
    dir = fs::temp_directory_path() / "corva-bench-log";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string p = dir.string() + "/";
    std::memset(MyCorvaLibDataPtr->DataPath, 0, sizeof MyCorvaLibDataPtr->DataPath);
    std::memcpy(MyCorvaLibDataPtr->DataPath, p.data(), p.size());
  }
  ~ScratchDir() {
    std::memset(MyCorvaLibDataPtr->DataPath, 0, sizeof MyCorvaLibDataPtr->DataPath);
    fs::remove_all(dir);
  }
};

int quiet_box(void*, const corva::platform::MessageBoxRequest&) { return 1; }

void BM_SaveTheMessage(benchmark::State& s) {
  ScratchDir scratch;
  for (auto _ : s) SaveTheMessage(20311, 0, "|Invalid date");
}

void BM_MessageWithCard_logged(benchmark::State& s) {
  ScratchDir scratch;
  auto previous = corva::platform::set_message_box_presenter(quiet_box, nullptr);
  for (auto _ : s) benchmark::DoNotOptimize(MessageWithCard(0, 20500, 12));
  corva::platform::set_message_box_presenter(previous, nullptr);
}

void BM_LogRewrite_stdio(benchmark::State& s) {
  ScratchDir scratch;
  const std::string name = (scratch.dir / "ERRORLOG.TXT").string();
  char block[3950];
  std::memset(block, ' ', sizeof block);
  if (FILE* f = std::fopen(name.c_str(), "wb")) {
    std::fwrite(block, 1, sizeof block, f);
    std::fclose(f);
  }
  char line[79];
  std::memset(line, ' ', sizeof line);
  std::memcpy(line, "20311  |Invalid date", 20);
  for (auto _ : s) {
    FILE* f = std::fopen(name.c_str(), "r+b");
    if (f == nullptr) break;
    const std::size_t got = std::fread(block, 1, sizeof block, f);
    benchmark::DoNotOptimize(got);
    std::memmove(block + 79, block, sizeof block - 79);
    std::memcpy(block, line, sizeof line);
    std::fseek(f, 0, SEEK_SET);
    std::fwrite(block, 1, sizeof block, f);
    std::fclose(f);
  }
}

}  // namespace

BENCHMARK(BM_SaveTheMessage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MessageWithCard_logged)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LogRewrite_stdio)->Unit(benchmark::kMicrosecond);
