// The exported name, directory, search and whole-file functions: argument
// checks, then the routines of files/ and the platform layer.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>

#include "corvalib/files.h"
#include "corvalib/text.h"
#include "corvaplat/disk.h"
#include "corvaplat/files.h"
#include "corvaplat/paths.h"
#include "files/dirlist.h"
#include "files/dirs.h"
#include "files/finds.h"
#include "files/names.h"
#include "frame/boundary.h"
#include "text/bstr.h"

namespace fl = corva::files;
namespace bs = corva::text;
namespace plat = corva::platform;

static_assert(sizeof(CvNameRecord) == 78);
static_assert(offsetof(CvNameRecord, directory) == 2 && offsetof(CvNameRecord, name) == 66 &&
              offsetof(CvNameRecord, extension) == 74);
static_assert(offsetof(CvFindRecord, time_create) == 4 && offsetof(CvFindRecord, size) == 16 &&
              offsetof(CvFindRecord, name) == 20 && sizeof(CvFindRecord) == 280);

namespace {

// A bounded-string name as a NUL-terminated text for the platform layer.
std::string name_of(std::uint16_t high, const char* text) { return std::string(bs::view(high, text)); }

}  // namespace

extern "C" {

uint8_t ParseFileName(uint16_t high, const char* name, CvNameRecord* record) try {
  if (record != nullptr) fl::parse_file_name(bs::view(high, name), *record);
  return 1;
} CORVA_BOUNDARY(0)

void ConstructFileName(uint16_t high1, const char* name1, uint16_t high2, const char* name2,
                       uint16_t high3, char* result) try {
  if (result == nullptr) return;
  CvNameRecord a, b;
  fl::parse_file_name(bs::view(high1, name1), a);
  fl::parse_file_name(bs::view(high2, name2), b);
  const std::string built = fl::construct_file_name(a, b);
  // The result takes up to HIGH + 1 characters; a NUL follows when it fits.
  const std::size_t room = std::size_t{high3} + 1;
  const std::size_t n = std::min(built.size(), room);
  std::memcpy(result, built.data(), n);
  if (n < room) std::memset(result + n, 0, room - n);
} CORVA_BOUNDARY()

void AddBackSlash(uint16_t high, char* path) try {
  if (path == nullptr) return;
  const std::string_view text = bs::view(high, path);
  if (!text.empty() && text.back() != '\\') Append(high, path, 1, "\\");
} CORVA_BOUNDARY()

int32_t CVX_GetTempFileName(const char* prefix, char* name) try {
  if (name == nullptr) return 0;
  char dir[260];
  const std::uint32_t n = plat::GetTempPathA(sizeof dir, dir);
  if (n == 0 || n > sizeof dir) return 0;  // more than 260 is the room it would need
  return static_cast<int32_t>(plat::GetTempFileNameA(dir, prefix != nullptr ? prefix : "", 0, name));
} CORVA_BOUNDARY(0)

int32_t GetDrive(void) try { return plat::_getdrive() - 1; } CORVA_BOUNDARY(0)

int32_t SetDrive(uint16_t drive) try {
  return plat::_chdrive(int{drive} + 1) == 0 ? 0 : -1;
} CORVA_BOUNDARY(-1)

int32_t GetDiskSpace(uint16_t drive) try { return fl::disk_space(drive); } CORVA_BOUNDARY(-1)

uint8_t MakeDir(uint16_t high, const char* path) try {
  return path != nullptr && plat::_mkdir(name_of(high, path).c_str()) == 0;
} CORVA_BOUNDARY(0)

uint8_t RemoveDir(uint16_t high, const char* path) try {
  return path != nullptr && plat::_rmdir(name_of(high, path).c_str()) == 0;
} CORVA_BOUNDARY(0)

uint8_t SetFullDir(uint16_t high, const char* path) try {
  return path != nullptr && fl::set_full_dir(bs::view(high, path));
} CORVA_BOUNDARY(0)

uint8_t GetDir(uint16_t drive, uint16_t high, char* dir) try {
  if (high < 63 || dir == nullptr) return 0;
  const std::string full = fl::current_directory(drive, std::size_t{std::min<uint16_t>(high, 64)} + 1);
  if (full.size() < 2) return 0;
  bs::write(high, dir, std::string_view(full).substr(2));
  return 1;
} CORVA_BOUNDARY(0)

uint8_t GetFullDir(uint16_t high, char* dir) try {
  if (!GetDir(0, high, dir)) return 0;
  if (dir[0] != '\\') Insert(0, "\\", high, dir, 0);
  const char drive[3] = {static_cast<char>('A' + GetDrive()), ':', '\0'};
  Insert(1, drive, high, dir, 0);
  return 1;
} CORVA_BOUNDARY(0)

uint8_t FindFirst(uint16_t high, const char* pattern, uint16_t, CvFindRecord* find) try {
  if (find == nullptr) return 0;
  return fl::find_first(bs::view(high, pattern, 260), *find);
} CORVA_BOUNDARY(0)

uint8_t FindNext(CvFindRecord* find) try {
  return find != nullptr && fl::find_next(*find);
} CORVA_BOUNDARY(0)

void CloseFinds(void) try { fl::close_find(); } CORVA_BOUNDARY()

uint8_t CVXFindFirstFile(CvFindRecord* find, uint16_t high, char* name, uint8_t attribute) try {
  if (find == nullptr || name == nullptr) return 0;
  if (!fl::find_first_accepted(bs::view(high, name, 260), attribute, *find)) return 0;
  Assign(static_cast<uint16_t>(sizeof find->name - 1), find->name, high, name);
  return 1;
} CORVA_BOUNDARY(0)

uint8_t CVXFindNextFile(uint16_t high, char* name, CvFindRecord* find, uint8_t attribute) try {
  if (find == nullptr || name == nullptr) return 0;
  if (!fl::find_next_accepted(attribute, *find)) return 0;
  Assign(static_cast<uint16_t>(sizeof find->name - 1), find->name, high, name);
  return 1;
} CORVA_BOUNDARY(0)

int32_t MyDlgDirList(CvHWND dialog, uint16_t high, const char* path, int16_t listId,
                     int16_t staticId, uint8_t attribute) try {
  return fl::list_directory_into_dialog(dialog, path, high, listId, staticId, attribute) > 0;
} CORVA_BOUNDARY(0)

uint8_t FileExist(const char* name) try {
  return name != nullptr && plat::_access(name, 0) == 0;
} CORVA_BOUNDARY(0)

int16_t FileDelete(uint16_t high, const char* name) try {
  if (name == nullptr) return 1;
  return fl::delete_file(name_of(high, name));
} CORVA_BOUNDARY(1)

int16_t FileDeleteByExt(const char* name, const char* extension) try {
  if (name == nullptr) return 1;
  const std::string_view text(name, strnlen(name, 260));
  const std::string target =
      fl::replace_extension(text, extension != nullptr ? extension : "");
  return fl::delete_file(target);
} CORVA_BOUNDARY(1)

int16_t FileDeleteWithLCK(uint16_t high, const char* name) try {
  if (name == nullptr) return 1;
  const std::string text = name_of(high, name);
  fl::delete_file(text);
  return FileDeleteByExt(text.c_str(), "LCK");
} CORVA_BOUNDARY(1)

uint16_t Rename(uint16_t high1, const char* oldName, uint16_t high2, const char* newName) try {
  char from[80], to[80];
  bs::assign(79, from, high1, oldName);
  bs::assign(79, to, high2, newName);
  return static_cast<uint16_t>(plat::dos_rename(from, to));
} CORVA_BOUNDARY(corva::platform::CRT_ENOMEM)

uint8_t CopyFile2(const char* destination, const char* source, uint8_t copyData) try {
  if (destination == nullptr || source == nullptr) return 0;
  return fl::copy_file(destination, source, copyData != 0);
} CORVA_BOUNDARY(0)

}  // extern "C"
