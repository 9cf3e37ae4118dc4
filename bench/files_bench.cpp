// Buffered files next to their plain peers: long blocks against read/write
// with the same piece size, ReadLn against fgets, Lock/UnLock against a bare
// fcntl lock and unlock.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "corvalib/files.h"

namespace {

constexpr std::int64_t kLongTotal = 256LL << 20;  // 256 MiB
constexpr int kPiece = 64 << 10;                  // 64 KiB
constexpr std::int64_t kTextTotal = 100LL * 1000 * 1000;

// One scratch directory for the whole run, removed at exit.
struct Scratch {
  std::string dir;
  Scratch() {
    std::string p = (std::filesystem::temp_directory_path() / "corva-bench-XXXXXX").string();
    if (mkdtemp(p.data()) != nullptr) dir = p;
  }
  ~Scratch() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
  std::string file(const char* name) const { return dir + "/" + name; }
};
Scratch& scratch() {
  static Scratch s;
  return s;
}

const std::string& long_file() {
  static const std::string path = [] {
    std::string p = scratch().file("long.dat");
    std::vector<char> piece(kPiece, 'L');
    FILE* f = std::fopen(p.c_str(), "wb");
    for (std::int64_t done = 0; done < kLongTotal; done += kPiece)
      std::fwrite(piece.data(), 1, kPiece, f);
    std::fclose(f);
    return p;
  }();
  return path;
}

const std::string& text_file() {
  static const std::string path = [] {
    std::string p = scratch().file("text.txt");
    FILE* f = std::fopen(p.c_str(), "wb");
    std::int64_t done = 0;
    for (unsigned i = 0; done < kTextTotal; ++i) {
      char line[128];
      const int n = std::snprintf(line, sizeof line,
                                  "%08u Rent December %u.%02u paid by cheque %06u ledger %u\r\n", i,
                                  i % 9000, i % 100, i % 999999, i % 37);
      std::fwrite(line, 1, static_cast<std::size_t>(n), f);
      done += n;
    }
    std::fclose(f);
    return p;
  }();
  return path;
}

void BM_WriteLongBlock(benchmark::State& s) {
  std::vector<char> piece(kPiece, 'w');
  CvxFileType f{};
  Lookup(&f, 0, long_file().c_str(), 0);
  for (auto _ : s) {
    SetPos(&f, 0);
    for (std::int64_t done = 0; done < kLongTotal; done += kPiece)
      WriteLongBlock(&f, kPiece, piece.data());
  }
  Close(&f);
  s.SetBytesProcessed(s.iterations() * kLongTotal);
}
void BM_WriteLongBlock_write(benchmark::State& s) {
  std::vector<char> piece(kPiece, 'w');
  const int fd = open(long_file().c_str(), O_RDWR);
  for (auto _ : s) {
    lseek(fd, 0, SEEK_SET);
    for (std::int64_t done = 0; done < kLongTotal; done += kPiece) {
      benchmark::DoNotOptimize(write(fd, piece.data(), kPiece));
    }
  }
  close(fd);
  s.SetBytesProcessed(s.iterations() * kLongTotal);
}

void BM_ReadLongBlock(benchmark::State& s) {
  std::vector<char> piece(kPiece);
  CvxFileType f{};
  Lookup(&f, 0, long_file().c_str(), 0);
  for (auto _ : s) {
    SetPos(&f, 0);
    for (std::int64_t done = 0; done < kLongTotal; done += kPiece)
      ReadLongBlock(&f, kPiece, piece.data());
    benchmark::DoNotOptimize(piece.data());
  }
  Close(&f);
  s.SetBytesProcessed(s.iterations() * kLongTotal);
}
void BM_ReadLongBlock_read(benchmark::State& s) {
  std::vector<char> piece(kPiece);
  const int fd = open(long_file().c_str(), O_RDONLY);
  for (auto _ : s) {
    lseek(fd, 0, SEEK_SET);
    for (std::int64_t done = 0; done < kLongTotal; done += kPiece) {
      benchmark::DoNotOptimize(read(fd, piece.data(), kPiece));
    }
  }
  close(fd);
  s.SetBytesProcessed(s.iterations() * kLongTotal);
}

void BM_ReadLn(benchmark::State& s) {
  char line[256];
  CvxFileType f{};
  Lookup(&f, 0, text_file().c_str(), 0);
  std::int64_t lines = 0;
  for (auto _ : s) {
    FileReset(&f);
    while (true) {
      ReadLn(&f, 255, line);
      if (f.eof || f.result != 0) break;
      ++lines;
    }
  }
  Close(&f);
  s.counters["lines"] = static_cast<double>(lines) / static_cast<double>(s.iterations());
  s.SetBytesProcessed(s.iterations() * kTextTotal);
}
void BM_ReadLn_fgets(benchmark::State& s) {
  char line[256];
  FILE* f = std::fopen(text_file().c_str(), "rb");
  std::int64_t lines = 0;
  for (auto _ : s) {
    std::rewind(f);
    while (std::fgets(line, sizeof line, f) != nullptr) ++lines;
  }
  std::fclose(f);
  s.counters["lines"] = static_cast<double>(lines) / static_cast<double>(s.iterations());
  s.SetBytesProcessed(s.iterations() * kTextTotal);
}

void BM_LockUnLock(benchmark::State& s) {
  CvxFileType f{};
  MultiLookup(&f, 0, long_file().c_str(), 1, 0, 0);
  CvxLockRegion r{4096, 128};
  for (auto _ : s) {
    benchmark::DoNotOptimize(Lock(&f, &r));
    benchmark::DoNotOptimize(UnLock(&f, &r));
  }
  Close(&f);
}
void BM_LockUnLock_fcntl(benchmark::State& s) {
  const int fd = open(long_file().c_str(), O_RDWR);
  struct flock fl {};
  fl.l_whence = SEEK_SET;
  fl.l_start = 4096;
  fl.l_len = 128;
  for (auto _ : s) {
    fl.l_type = F_WRLCK;
    benchmark::DoNotOptimize(fcntl(fd, F_SETLK, &fl));
    fl.l_type = F_UNLCK;
    benchmark::DoNotOptimize(fcntl(fd, F_SETLK, &fl));
  }
  close(fd);
}

BENCHMARK(BM_WriteLongBlock)->Unit(benchmark::kMillisecond)->Iterations(4);
BENCHMARK(BM_WriteLongBlock_write)->Unit(benchmark::kMillisecond)->Iterations(4);
BENCHMARK(BM_ReadLongBlock)->Unit(benchmark::kMillisecond)->Iterations(6);
BENCHMARK(BM_ReadLongBlock_read)->Unit(benchmark::kMillisecond)->Iterations(6);
BENCHMARK(BM_ReadLn)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadLn_fgets)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LockUnLock);
BENCHMARK(BM_LockUnLock_fcntl);

}  // namespace
