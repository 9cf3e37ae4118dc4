// The exported bridge and report-writer functions.
#include "corvalib/outside.h"
#include "outside/bridge.h"
#include "outside/report_writer.h"

namespace out = corva::outside;

extern "C" {

int32_t ThunkInitialize(void) { return out::bridge_initialize() ? 1 : 0; }

void ThunkTerminate(void) { out::bridge_terminate(); }

uint32_t ThunkLoadLibrary16(const char* path) {
  return path == nullptr ? 0 : out::load_library16(path);
}

void ThunkFreeLibrary16(uint32_t module) { out::free_library16(module); }

uint32_t ThunkGetProcAddress16(uint32_t module, const char* name) {
  return name == nullptr ? 0 : out::proc_address16(module, name);
}

uint32_t ThunkCallProc16(uint32_t procedure, void* description, void* arguments, uint32_t extra) {
  return out::call_proc16(procedure, description, arguments, extra);
}

int32_t CVRRun(const char* company) {
  out::run_report_writer(company);
  return 0;
}

}  // extern "C"
