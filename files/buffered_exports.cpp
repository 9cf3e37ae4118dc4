// The exported buffered-file functions: pointer checks, then files/buffered.
// A null file variable is never touched: operations do nothing and answer
// 0 (FALSE); a null out-parameter is not written.
#include "corvalib/files.h"
#include "corvaplat/files.h"
#include "files/buffered.h"
#include "frame/boundary.h"

namespace bf = corva::files;

namespace {

// An operation stopped at the boundary leaves its file variable failed.
void failed(CvxFileType* file) noexcept {
  if (file != nullptr) file->result = CVX_FILE_FAILED;
}
template <typename T>
T failed(CvxFileType* file, T answer) noexcept {
  failed(file);
  return answer;
}

}  // namespace

extern "C" {

void Lookup(CvxFileType* file, uint16_t, const char* name, uint8_t create) try {
  if (file != nullptr) bf::multi_lookup(*file, name, false, false, create != 0);
} CORVA_BOUNDARY(failed(file))

void MultiLookup(CvxFileType* file, uint16_t, const char* name, uint8_t shared, uint8_t readOnly,
                 uint8_t create) try {
  if (file != nullptr) bf::multi_lookup(*file, name, shared != 0, readOnly != 0, create != 0);
} CORVA_BOUNDARY(failed(file))

void Create(CvxFileType* file, uint16_t, const char* name) try {
  if (file != nullptr) bf::create(*file, name);
} CORVA_BOUNDARY(failed(file))

void Create32(CvxFileType* file, uint16_t, const char* name) try {
  if (file != nullptr) bf::create32(*file, name);
} CORVA_BOUNDARY(failed(file))

int32_t CvxOpenFile(const char* name, void* errorRecord, uint32_t mode) try {
  return bf::open_file(name, errorRecord, mode);
} CORVA_BOUNDARY(-1)

void ReadChar(CvxFileType* file, char* ch) try {
  if (file == nullptr) return;
  char c = 0;
  bf::read_char(*file, c);
  if (ch != nullptr) *ch = c;
} CORVA_BOUNDARY(failed(file))

void ReadWord(CvxFileType* file, uint16_t* w) try {
  if (file == nullptr) return;
  uint16_t v = 0;
  bf::read_word(*file, v);
  if (w != nullptr) *w = v;
} CORVA_BOUNDARY(failed(file))

void WriteChar(CvxFileType* file, char ch) try {
  if (file != nullptr) bf::write_char(*file, ch);
} CORVA_BOUNDARY(failed(file))

void WriteWord(CvxFileType* file, uint16_t w) try {
  if (file != nullptr) bf::write_word(*file, w);
} CORVA_BOUNDARY(failed(file))

void Again(CvxFileType* file) try {
  if (file != nullptr) bf::again(*file);
} CORVA_BOUNDARY(failed(file))

uint16_t ReadLn(CvxFileType* file, uint16_t high, char* line) try {
  if (file == nullptr || line == nullptr) return 0;
  return bf::read_line(*file, high, line);
} CORVA_BOUNDARY(failed(file, 0))

uint16_t WriteLn(CvxFileType* file, uint16_t high, const char* line) try {
  if (file == nullptr) return 0;
  return bf::write_line(*file, line == nullptr ? 0 : high, line == nullptr ? "" : line);
} CORVA_BOUNDARY(failed(file, 0))

uint8_t FillBuffer(CvxFileType* file) try {
  return file != nullptr && bf::fill_buffer(*file);
} CORVA_BOUNDARY(failed(file, 0))

uint8_t ReadBlock(CvxFileType* file, uint16_t count, void* data) try {
  return file != nullptr && bf::read_block(*file, count, data);
} CORVA_BOUNDARY(failed(file, 0))

uint8_t WriteBlock(CvxFileType* file, uint16_t count, const void* data) try {
  return file != nullptr && bf::write_block(*file, count, data);
} CORVA_BOUNDARY(failed(file, 0))

uint8_t ReadLongBlock(CvxFileType* file, int32_t size, void* data) try {
  return file != nullptr && bf::read_long_block(*file, size, data);
} CORVA_BOUNDARY(failed(file, 0))

uint8_t WriteLongBlock(CvxFileType* file, int32_t size, const void* data) try {
  return file != nullptr && bf::write_long_block(*file, size, data);
} CORVA_BOUNDARY(failed(file, 0))

void SetPos(CvxFileType* file, int32_t position) try {
  if (file != nullptr) bf::set_pos(*file, position);
} CORVA_BOUNDARY(failed(file))

void GetPos(CvxFileType* file, int32_t* position) try {
  if (file == nullptr) return;
  int32_t p = 0;
  const bool had = position != nullptr;
  if (had) p = *position;
  bf::get_pos(*file, p);
  if (had) *position = p;
} CORVA_BOUNDARY(failed(file))

void FileLength(CvxFileType* file, int32_t* length) try {
  if (file == nullptr) return;
  int32_t n = length != nullptr ? *length : 0;
  bf::file_length(*file, n);
  if (length != nullptr) *length = n;
} CORVA_BOUNDARY(failed(file))

void FileReset(CvxFileType* file) try {
  if (file != nullptr) bf::file_reset(*file);
} CORVA_BOUNDARY(failed(file))

uint16_t GetHandle(CvxFileType* file) try {
  return file != nullptr ? bf::get_handle(*file) : 0;
} CORVA_BOUNDARY(failed(file, 0))

uint8_t CheckFile(CvxFileType* file, int32_t direction) try {
  return file != nullptr && bf::check(*file, direction);
} CORVA_BOUNDARY(failed(file, 0))

void Close(CvxFileType* file) try {
  if (file != nullptr) bf::close(*file);
} CORVA_BOUNDARY(failed(file))

void Flush(CvxFileType* file) try {
  if (file != nullptr) bf::flush(*file);
} CORVA_BOUNDARY(failed(file))

uint8_t Lock(CvxFileType* file, CvxLockRegion* region) try {
  if (file == nullptr || region == nullptr) return 0;
  return bf::lock_region(*file, *region, true) == 0;
} CORVA_BOUNDARY(failed(file, 0))

uint16_t UnLock(CvxFileType* file, CvxLockRegion* region) try {
  if (file == nullptr || region == nullptr) return corva::platform::CRT_EINVAL;
  return static_cast<uint16_t>(bf::lock_region(*file, *region, false));
} CORVA_BOUNDARY(failed(file, corva::platform::CRT_ENOMEM))

uint8_t ShareIsLoaded(CvxFileType* file) try {
  return file != nullptr && bf::share_is_loaded(*file);
} CORVA_BOUNDARY(failed(file, 0))

}  // extern "C"
