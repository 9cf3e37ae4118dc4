// A message sent to a window procedure, next to a direct call of the same
// procedure (the floor); a broadcast to a full window table; one turn of the
// posted-message loop.
#include <benchmark/benchmark.h>

#include "corvalib/ui.h"
#include "corvaplat/windows.h"
#include "ui/window_table.h"

namespace {
namespace plat = corva::platform;

plat::LRESULT g_sum = 0;

plat::LRESULT counting_proc(plat::WindowHandle h, std::uint32_t m, plat::WPARAM w,
                            plat::LPARAM l) {
  if (m == plat::WM_USER) {
    g_sum += static_cast<plat::LRESULT>(w) + l;
    return g_sum;
  }
  return plat::DefWindowProcA(h, m, w, l);
}

// The procedure as the caller sees it through a pointer, as SendMessageA does.
plat::WindowProc volatile g_proc = counting_proc;

plat::WindowHandle bench_window() {
  static plat::WindowHandle w = [] {
    plat::WindowClass wc;
    wc.name = "BenchWindow";
    wc.procedure = counting_proc;
    plat::RegisterClassA(wc);
    return plat::CreateWindowExA(0, "BenchWindow", "", 0, 0, 0, 10, 10, 0, 0, 0, nullptr);
  }();
  return w;
}

void BM_SendMessageA(benchmark::State& s) {
  const plat::WindowHandle w = bench_window();
  plat::WPARAM i = 0;
  for (auto _ : s) benchmark::DoNotOptimize(plat::SendMessageA(w, plat::WM_USER, ++i, 1));
}
void BM_SendMessageA_direct_call(benchmark::State& s) {
  const plat::WindowHandle w = bench_window();
  plat::WPARAM i = 0;
  for (auto _ : s) benchmark::DoNotOptimize(g_proc(w, plat::WM_USER, ++i, 1));
}

// Thirty registered screens, each handed the message.
void BM_BroadcastMessage_30(benchmark::State& s) {
  const plat::WindowHandle w = bench_window();
  corva::ui::table() = corva::ui::WindowTable{};
  for (int i = 0; i < 15; ++i) {
    AddWindowToTable(w, 0, 1);
    AddWindowToTable(w, 0, 0);
  }
  for (auto _ : s) BroadcastMessage(plat::WM_USER, 1, 1);
  corva::ui::table() = corva::ui::WindowTable{};
}
void BM_BroadcastMessage_30_direct_calls(benchmark::State& s) {
  const plat::WindowHandle w = bench_window();
  for (auto _ : s) {
    for (int i = 0; i < 30; ++i) benchmark::DoNotOptimize(g_proc(w, plat::WM_USER, 1, 1));
  }
}

// Post, fetch and dispatch one message through the library's loop.
void BM_PostAndMyGetMessage(benchmark::State& s) {
  const plat::WindowHandle w = bench_window();
  for (auto _ : s) {
    plat::PostMessageA(w, plat::WM_USER, 1, 1);
    benchmark::DoNotOptimize(MyGetMessage());
  }
}

BENCHMARK(BM_SendMessageA);
BENCHMARK(BM_SendMessageA_direct_call);
BENCHMARK(BM_BroadcastMessage_30);
BENCHMARK(BM_BroadcastMessage_30_direct_calls);
BENCHMARK(BM_PostAndMyGetMessage);

}  // namespace
