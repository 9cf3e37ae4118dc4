// The exported buffered-file functions: pointer checks, then files/buffered.
// A null file variable is never touched: operations do nothing and answer
// 0 (FALSE); a null out-parameter is not written.
#include "corvalib/files.h"
#include "corvaplat/files.h"
#include "files/buffered.h"

namespace bf = corva::files;

extern "C" {

void Lookup(CvxFileType* file, uint16_t, const char* name, uint8_t create) {
  if (file != nullptr) bf::multi_lookup(*file, name, false, false, create != 0);
}

void MultiLookup(CvxFileType* file, uint16_t, const char* name, uint8_t shared, uint8_t readOnly,
                 uint8_t create) {
  if (file != nullptr) bf::multi_lookup(*file, name, shared != 0, readOnly != 0, create != 0);
}

void Create(CvxFileType* file, uint16_t, const char* name) {
  if (file != nullptr) bf::create(*file, name);
}

void Create32(CvxFileType* file, uint16_t, const char* name) {
  if (file != nullptr) bf::create32(*file, name);
}

int32_t CvxOpenFile(const char* name, void* errorRecord, uint32_t mode) {
  return bf::open_file(name, errorRecord, mode);
}

void ReadChar(CvxFileType* file, char* ch) {
  if (file == nullptr) return;
  char c = 0;
  bf::read_char(*file, c);
  if (ch != nullptr) *ch = c;
}

void ReadWord(CvxFileType* file, uint16_t* w) {
  if (file == nullptr) return;
  uint16_t v = 0;
  bf::read_word(*file, v);
  if (w != nullptr) *w = v;
}

void WriteChar(CvxFileType* file, char ch) {
  if (file != nullptr) bf::write_char(*file, ch);
}

void WriteWord(CvxFileType* file, uint16_t w) {
  if (file != nullptr) bf::write_word(*file, w);
}

void Again(CvxFileType* file) {
  if (file != nullptr) bf::again(*file);
}

uint16_t ReadLn(CvxFileType* file, uint16_t high, char* line) {
  if (file == nullptr || line == nullptr) return 0;
  return bf::read_line(*file, high, line);
}

uint16_t WriteLn(CvxFileType* file, uint16_t high, const char* line) {
  if (file == nullptr) return 0;
  return bf::write_line(*file, line == nullptr ? 0 : high, line == nullptr ? "" : line);
}

uint8_t FillBuffer(CvxFileType* file) { return file != nullptr && bf::fill_buffer(*file); }

uint8_t ReadBlock(CvxFileType* file, uint16_t count, void* data) {
  return file != nullptr && bf::read_block(*file, count, data);
}

uint8_t WriteBlock(CvxFileType* file, uint16_t count, const void* data) {
  return file != nullptr && bf::write_block(*file, count, data);
}

uint8_t ReadLongBlock(CvxFileType* file, int32_t size, void* data) {
  return file != nullptr && bf::read_long_block(*file, size, data);
}

uint8_t WriteLongBlock(CvxFileType* file, int32_t size, const void* data) {
  return file != nullptr && bf::write_long_block(*file, size, data);
}

void SetPos(CvxFileType* file, int32_t position) {
  if (file != nullptr) bf::set_pos(*file, position);
}

void GetPos(CvxFileType* file, int32_t* position) {
  if (file == nullptr) return;
  int32_t p = 0;
  const bool had = position != nullptr;
  if (had) p = *position;
  bf::get_pos(*file, p);
  if (had) *position = p;
}

void FileLength(CvxFileType* file, int32_t* length) {
  if (file == nullptr) return;
  int32_t n = length != nullptr ? *length : 0;
  bf::file_length(*file, n);
  if (length != nullptr) *length = n;
}

void FileReset(CvxFileType* file) {
  if (file != nullptr) bf::file_reset(*file);
}

uint16_t GetHandle(CvxFileType* file) { return file != nullptr ? bf::get_handle(*file) : 0; }

uint8_t CheckFile(CvxFileType* file, int32_t direction) {
  return file != nullptr && bf::check(*file, direction);
}

void Close(CvxFileType* file) {
  if (file != nullptr) bf::close(*file);
}

void Flush(CvxFileType* file) {
  if (file != nullptr) bf::flush(*file);
}

uint8_t Lock(CvxFileType* file, CvxLockRegion* region) {
  if (file == nullptr || region == nullptr) return 0;
  return bf::lock_region(*file, *region, true) == 0;
}

uint16_t UnLock(CvxFileType* file, CvxLockRegion* region) {
  if (file == nullptr || region == nullptr) return corva::platform::CRT_EINVAL;
  return static_cast<uint16_t>(bf::lock_region(*file, *region, false));
}

uint8_t ShareIsLoaded(CvxFileType* file) { return file != nullptr && bf::share_is_loaded(*file); }

}  // extern "C"
