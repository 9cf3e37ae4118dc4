// The product's fixed entries to its INI file, to WIN.INI and other INI
// files, and to its registry keys.
#include <cstring>
#include <string>

#include "corvalib/frame.h"
#include "corvaplat/profile.h"
#include "corvaplat/registry.h"
#include "corvaplat/text.h"
#include "frame/boundary.h"

namespace corva::frame {
namespace {

// The application's INI file: a bare name, so it lives in the Windows directory.
constexpr char kCvxIni[16] = "CVX70.INI";

// An INTEGER buffer size as the profile services take it (negative: none).
std::uint32_t buffer_size(std::int16_t size) { return size < 0 ? 0u : static_cast<std::uint32_t>(size); }

struct KeyPlace {
  platform::RegKey root;
  const char* prefix;
  const char* class_name;
};

KeyPlace place_of(const char* section) {
  if (std::strcmp(section, "Options") == 0 || std::strcmp(section, "Tips") == 0)
    return {platform::kHKeyCurrentUser, "Software\\Corvantis\\", "CVX4.0 User Data"};
  return {platform::kHKeyLocalMachine, "SOFTWARE\\Corvantis\\", "CVX4.0 Application Data"};
}

bool equal_ignoring_case(const char* a, const char* b) {
  for (; *a != '\0' && *b != '\0'; ++a, ++b) {
    if (platform::char_upper(*a) != platform::char_upper(*b)) return false;
  }
  return *a == *b;
}

constexpr const char* kBootDescriptionKey =
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\WOW\\boot.description";

}  // namespace
}  // namespace corva::frame

using namespace corva;

extern "C" {

int32_t WriteCVXProfileString(const char* section, const char* key, const char* value) try {
  return platform::WritePrivateProfileStringA(section, key, value, frame::kCvxIni);
} CORVA_BOUNDARY(0)

uint32_t GetCVXProfileString(const char* section, const char* key, const char* default_value,
                             char* buffer, int16_t size) try {
  return platform::GetPrivateProfileStringA(section, key, default_value, buffer,
                                            frame::buffer_size(size), frame::kCvxIni);
} CORVA_BOUNDARY(0)

uint32_t GetCVXProfileInt(const char* section, const char* key, int16_t default_value) try {
  return platform::GetPrivateProfileIntA(section, key, default_value, frame::kCvxIni);
} CORVA_BOUNDARY(static_cast<uint32_t>(default_value))

uint32_t GetSYSProfileString(const char* section, const char* key, const char* default_value,
                             char* buffer, int16_t size, const char* file_name) try {
  return platform::GetPrivateProfileStringA(section, key, default_value, buffer,
                                            frame::buffer_size(size), file_name);
} CORVA_BOUNDARY(0)

int32_t WriteWINProfileString(const char* section, const char* key, const char* value) try {
  return platform::WriteProfileStringA(section, key, value);
} CORVA_BOUNDARY(0)

uint32_t GetWINProfileString(const char* section, const char* key, const char* default_value,
                             char* buffer, int16_t size) try {
  return platform::GetProfileStringA(section, key, default_value, buffer, frame::buffer_size(size));
} CORVA_BOUNDARY(0)

uint32_t GetWINProfileInt(const char* section, const char* key, int16_t default_value) try {
  return platform::GetProfileIntA(section, key, default_value);
} CORVA_BOUNDARY(static_cast<uint32_t>(default_value))

int32_t CVXGetRegKey(const char* product_key, const char* section, CvHANDLE* key, int32_t create) try {
  if (product_key == nullptr || section == nullptr || key == nullptr)
    return platform::kErrorInvalidParameter;
  const frame::KeyPlace place = frame::place_of(section);
  std::string path = place.prefix;
  path += product_key;
  path += '\\';
  path += section;
  platform::RegKey opened = 0;
  const int32_t err =
      create != 0
          ? platform::RegCreateKeyExA(place.root, path.c_str(), 0, place.class_name, 0,
                                      platform::kKeyAllAccess, nullptr, &opened, nullptr)
          : platform::RegOpenKeyExA(place.root, path.c_str(), 0, platform::kKeyRead, &opened);
  if (err == 0) *key = opened;
  return err;
} CORVA_BOUNDARY(corva::platform::kErrorNotEnoughMemory)

int32_t CVXRegSetValue(const char* product_key, const char* section, const char* value_name,
                       uint32_t type, const uint8_t* data, uint32_t size) try {
  CvHANDLE key = 0;
  if (const int32_t err = CVXGetRegKey(product_key, section, &key, 1); err != 0) return err;
  const int32_t err = platform::RegSetValueExA(key, value_name, 0, type, data, size);
  platform::RegCloseKey(key);
  return err;
} CORVA_BOUNDARY(corva::platform::kErrorNotEnoughMemory)

int32_t CVXRegQryValue(const char* product_key, const char* section, const char* value_name,
                       uint32_t* type, uint8_t* data, uint32_t* size) try {
  CvHANDLE key = 0;
  if (const int32_t err = CVXGetRegKey(product_key, section, &key, 0); err != 0) return err;
  const int32_t err = platform::RegQueryValueExA(key, value_name, nullptr, type, data, size);
  platform::RegCloseKey(key);
  return err;
} CORVA_BOUNDARY(corva::platform::kErrorNotEnoughMemory)

int16_t CVXRegQrySysValue(const char* file_name, const char* section, const char* key,
                          const char* /*default_value*/, char* buffer, int16_t size) try {
  platform::OsVersionInfo version{};
  version.size = sizeof version;
  if (platform::GetVersionExA(&version) == 0 || version.platform_id != platform::kPlatformWin32Nt)
    return -1;
  if (file_name == nullptr || section == nullptr || !frame::equal_ignoring_case(file_name, "system.ini") ||
      !frame::equal_ignoring_case(section, "boot.description"))
    return -1;
  if (size < 0) return -1;
  platform::RegKey opened = 0;
  if (platform::RegOpenKeyExA(platform::kHKeyLocalMachine, frame::kBootDescriptionKey, 0,
                              platform::kKeyRead, &opened) != 0)
    return -1;
  auto read = static_cast<uint32_t>(size);
  const int32_t err = platform::RegQueryValueExA(opened, key, nullptr, nullptr,
                                                 reinterpret_cast<uint8_t*>(buffer), &read);
  platform::RegCloseKey(opened);
  return err == 0 ? static_cast<int16_t>(read) : int16_t{-1};
} CORVA_BOUNDARY(-1)

}  // extern "C"
