// The exported bridge and report-writer functions.
#include "corvalib/outside.h"
#include "frame/boundary.h"
#include "outside/bridge.h"
#include "outside/report_writer.h"

namespace out = corva::outside;

extern "C" {

int32_t ThunkInitialize(void) try { return out::bridge_initialize() ? 1 : 0; } CORVA_BOUNDARY(0)

void ThunkTerminate(void) try { out::bridge_terminate(); } CORVA_BOUNDARY()

uint32_t ThunkLoadLibrary16(const char* path) try {
  return path == nullptr ? 0 : out::load_library16(path);
} CORVA_BOUNDARY(0)

void ThunkFreeLibrary16(uint32_t module) try { out::free_library16(module); } CORVA_BOUNDARY()

uint32_t ThunkGetProcAddress16(uint32_t module, const char* name) try {
  return name == nullptr ? 0 : out::proc_address16(module, name);
} CORVA_BOUNDARY(0)

uint32_t ThunkCallProc16(uint32_t procedure, void* description, void* arguments, uint32_t extra) try {
  return out::call_proc16(procedure, description, arguments, extra);
} CORVA_BOUNDARY(0)

int32_t CVRRun(const char* company) try {
  out::run_report_writer(company);
  return 0;
} CORVA_BOUNDARY(0)

}  // extern "C"
