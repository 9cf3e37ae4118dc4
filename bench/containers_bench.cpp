// Lists and text utilities. The list is measured next to std::list doing the
// same work: sorted insertion by a strcmp of names, then a find of each name.
#include <benchmark/benchmark.h>

#include <fnmatch.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <list>
#include <random>
#include <string>
#include <vector>

#include "corvalib/containers.h"
#include "corvalib/text.h"

namespace {

constexpr int kRecords = 10000;

struct Payload {
  double amount;
  int32_t account;
  int32_t flags;
};

// Record names in a shuffled order, the same for both sides.
const std::vector<std::string>& names() {
  static const std::vector<std::string> all = [] {
    std::vector<std::string> v;
    for (int i = 0; i < kRecords; ++i) {
      char buf[16];
      std::snprintf(buf, sizeof buf, "ACCT-%06d", i * 7);
      v.emplace_back(buf);
    }
    std::shuffle(v.begin(), v.end(), std::mt19937(42));
    return v;
  }();
  return all;
}

void BM_ListSortedInsertAndFind(benchmark::State& s) {
  const auto& keys = names();
  for (auto _ : s) {
    ListHeader* list = nullptr;
    ListInitialize(&list, "accounts");
    for (int i = 0; i < kRecords; ++i) {
      const Payload p{i * 1.5, i, 0};
      ListAddSorted(list, keys[i].c_str(), &p, sizeof p, ListDefaultCompare);
    }
    int found = 0;
    for (const std::string& k : keys) found += ListFind(list, k.c_str(), ListDefaultCompare);
    benchmark::DoNotOptimize(found);
    ListFree(&list);
  }
  s.SetItemsProcessed(s.iterations() * kRecords);
}

struct Record {
  std::string name;
  Payload item;
};

void BM_ListSortedInsertAndFind_stdlist(benchmark::State& s) {
  const auto& keys = names();
  for (auto _ : s) {
    std::list<Record> list;
    for (int i = 0; i < kRecords; ++i) {
      const char* name = keys[i].c_str();
      auto at = std::find_if(list.begin(), list.end(), [name](const Record& r) {
        return std::strcmp(name, r.name.c_str()) < 0;
      });
      list.insert(at, Record{keys[i], Payload{i * 1.5, i, 0}});
    }
    int found = 0;
    for (const std::string& k : keys) {
      const char* key = k.c_str();
      found += std::find_if(list.begin(), list.end(), [key](const Record& r) {
                 return std::strcmp(r.name.c_str(), key) == 0;
               }) != list.end();
    }
    benchmark::DoNotOptimize(found);
  }
  s.SetItemsProcessed(s.iterations() * kRecords);
}

const char* const kTexts[] = {"AB1234-X", "AB12", "ZZ99-Q", "AB12345", "ab12-Y", "AB9"};

void BM_MatchMask(benchmark::State& s) {
  int sum = 0;
  for (auto _ : s) {
    for (const char* t : kTexts) sum += MatchMask(t, "AB****-*");
    benchmark::DoNotOptimize(sum);
  }
  s.SetItemsProcessed(s.iterations() * std::size(kTexts));
}

// A reference point, not the same rule: "?" is fnmatch's one-character wildcard.
void BM_MatchMask_fnmatch(benchmark::State& s) {
  int sum = 0;
  for (auto _ : s) {
    for (const char* t : kTexts) sum += fnmatch("AB?" "?" "?" "?-?", t, 0);
    benchmark::DoNotOptimize(sum);
  }
  s.SetItemsProcessed(s.iterations() * std::size(kTexts));
}

void BM_TextIncrement(benchmark::State& s) {
  char ref[21] = "INV-000000-A";
  for (auto _ : s) {
    TextIncrement(20, ref);
    benchmark::DoNotOptimize(ref);
  }
  s.SetItemsProcessed(s.iterations());
}

void BM_TextDecrement(benchmark::State& s) {
  char ref[21] = "INV-999999-A";
  for (auto _ : s) {
    TextDecrement(20, ref);
    benchmark::DoNotOptimize(ref);
  }
  s.SetItemsProcessed(s.iterations());
}

}  // namespace

BENCHMARK(BM_ListSortedInsertAndFind)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListSortedInsertAndFind_stdlist)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MatchMask);
BENCHMARK(BM_MatchMask_fnmatch);
BENCHMARK(BM_TextIncrement);
BENCHMARK(BM_TextDecrement);
