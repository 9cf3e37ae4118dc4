#include <corvaplat/registry.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <corvaplat/config.h>
#include <corvaplat/text.h>

#include "settings/store_file.h"

namespace corva::platform {
namespace {

constexpr const char* kHeader = "CorvaLib registry 1";
constexpr const char* kStoreName = "CORVAREG.TXT";
constexpr const char* kBackupName = "CORVAREG.BAD";

struct Value {
  std::string name;
  std::uint32_t type = kRegNone;
  std::string data;
};

struct Key {
  std::string path;  // root name, '\', sub-key path, as first created
  std::string class_name;
  std::vector<Value> values;
};

struct Store {
  std::vector<Key> keys;
  // Lines of the file that are not part of the store, as they were: set
  // aside on the next write.
  std::vector<std::string> bad_lines;
};

std::string fold(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = char_upper(c);
  return out;
}

// ---- the text form -------------------------------------------------------------

void append_quoted(std::string& out, std::string_view bytes) {
  out.push_back('"');
  for (char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '\\' || c == '"') {
      out.push_back('\\');
      out.push_back(ch);
    } else if (c == 0) {
      out += "\\0";
    } else if (c < 0x20 || c > 0x7E) {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02x", c);
      out += hex;
    } else {
      out.push_back(ch);
    }
  }
  out.push_back('"');
}

std::string format_store(const Store& s) {
  std::string out = std::string(kHeader) + "\n";
  for (const Key& k : s.keys) {
    out += "\nkey ";
    append_quoted(out, k.path);
    if (!k.class_name.empty()) {
      out += " class ";
      append_quoted(out, k.class_name);
    }
    out += "\n";
    for (const Value& v : k.values) {
      out += "value ";
      append_quoted(out, v.name);
      char buf[32];
      if (v.type == kRegSz) {
        out += " sz ";
        append_quoted(out, v.data);
      } else if (v.type == kRegDword && v.data.size() == 4) {
        const auto* b = reinterpret_cast<const unsigned char*>(v.data.data());
        const std::uint32_t n = b[0] | (b[1] << 8) | (b[2] << 16) | (std::uint32_t{b[3]} << 24);
        std::snprintf(buf, sizeof buf, " dword 0x%08x", n);
        out += buf;
      } else {
        std::snprintf(buf, sizeof buf, " hex(%u)", v.type);
        out += buf;
        for (char ch : v.data) {
          std::snprintf(buf, sizeof buf, " %02x", static_cast<unsigned char>(ch));
          out += buf;
        }
      }
      out += "\n";
    }
  }
  return out;
}

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads a quoted text at the front of s; false when it is not one.
bool take_quoted(std::string_view& s, std::string& out) {
  if (s.empty() || s.front() != '"') return false;
  out.clear();
  std::size_t i = 1;
  for (; i < s.size() && s[i] != '"'; ++i) {
    if (s[i] != '\\') {
      out.push_back(s[i]);
      continue;
    }
    if (++i >= s.size()) return false;
    if (s[i] == '\\' || s[i] == '"') {
      out.push_back(s[i]);
    } else if (s[i] == '0') {
      out.push_back('\0');
    } else if (s[i] == 'x' && i + 2 < s.size() && hex_digit(s[i + 1]) >= 0 &&
               hex_digit(s[i + 2]) >= 0) {
      out.push_back(static_cast<char>(hex_digit(s[i + 1]) * 16 + hex_digit(s[i + 2])));
      i += 2;
    } else {
      return false;
    }
  }
  if (i >= s.size()) return false;
  s.remove_prefix(i + 1);
  return true;
}

bool take_word(std::string_view& s, std::string_view word) {
  if (s.substr(0, word.size()) != word) return false;
  s.remove_prefix(word.size());
  return true;
}

bool parse_value(std::string_view s, Value& v) {
  if (!take_quoted(s, v.name)) return false;
  if (take_word(s, " sz ")) {
    v.type = kRegSz;
    return take_quoted(s, v.data) && s.empty();
  }
  if (take_word(s, " dword 0x")) {
    if (s.size() != 8) return false;
    std::uint32_t n = 0;
    for (char c : s) {
      if (hex_digit(c) < 0) return false;
      n = n * 16 + static_cast<std::uint32_t>(hex_digit(c));
    }
    v.type = kRegDword;
    v.data = {static_cast<char>(n & 0xFF), static_cast<char>((n >> 8) & 0xFF),
              static_cast<char>((n >> 16) & 0xFF), static_cast<char>(n >> 24)};
    return true;
  }
  if (!take_word(s, " hex(")) return false;
  std::uint64_t type = 0;
  std::size_t digits = 0;
  while (!s.empty() && s.front() >= '0' && s.front() <= '9' && digits < 10) {
    type = type * 10 + static_cast<std::uint64_t>(s.front() - '0');
    s.remove_prefix(1);
    ++digits;
  }
  if (digits == 0 || type > 0xFFFFFFFFu || !take_word(s, ")")) return false;
  v.type = static_cast<std::uint32_t>(type);
  v.data.clear();
  while (!s.empty()) {
    if (s.size() < 3 || s[0] != ' ' || hex_digit(s[1]) < 0 || hex_digit(s[2]) < 0) return false;
    v.data.push_back(static_cast<char>(hex_digit(s[1]) * 16 + hex_digit(s[2])));
    s.remove_prefix(3);
  }
  return true;
}

bool valid_key_path(std::string_view path) {
  return path.substr(0, 18) == "HKEY_CURRENT_USER\\" || path == "HKEY_CURRENT_USER" ||
         path.substr(0, 19) == "HKEY_LOCAL_MACHINE\\" || path == "HKEY_LOCAL_MACHINE";
}

// False when the text is not a store at all (no header). A line that does
// not read costs that line only; the values under a key line that does not
// read go with it, since they belong to no key the store knows.
bool parse_store(std::string_view content, Store& s) {
  s.keys.clear();
  s.bad_lines.clear();
  bool header = false;
  bool under_bad_key = false;
  while (!content.empty()) {
    std::size_t end = content.find('\n');
    std::string_view line = content.substr(0, end);
    content.remove_prefix(end == std::string_view::npos ? content.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    const std::string_view raw = line;
    bool good = false;
    if (!header) {
      if (line != kHeader) return false;
      header = true;
      continue;
    }
    if (take_word(line, "key ")) {
      Key k;
      good = take_quoted(line, k.path) && valid_key_path(k.path) &&
             (!take_word(line, " class ") || take_quoted(line, k.class_name)) && line.empty();
      under_bad_key = !good;
      if (good) s.keys.push_back(std::move(k));
    } else if (take_word(line, "value ")) {
      Value v;
      good = !under_bad_key && !s.keys.empty() && parse_value(line, v);
      if (good) s.keys.back().values.push_back(std::move(v));
    }
    if (!good) s.bad_lines.emplace_back(raw);
  }
  return true;
}

// ---- the open keys and the cached store -------------------------------------

struct OpenKey {
  std::string path;
  std::uint32_t access = 0;
};

struct State {
  std::mutex mutex;
  std::unordered_map<RegKey, OpenKey> open;
  RegKey next_handle = 1;
  std::string cached_path;
  store::Identity cached_identity;
  std::shared_ptr<const Store> cached;  // null: the cached file is unreadable
  bool have_cache = false;
  std::uint32_t platform_id = kPlatformWin32Windows;
};

State& state() {
  static State* s = new State;  // never destroyed: used during unload
  return *s;
}

// The full path of key + sub-key; empty when key is not a root or open key.
std::optional<std::string> full_path(State& st, RegKey key, const char* sub_key) {
  std::string path;
  if (key == kHKeyCurrentUser) {
    path = "HKEY_CURRENT_USER";
  } else if (key == kHKeyLocalMachine) {
    path = "HKEY_LOCAL_MACHINE";
  } else if (auto it = st.open.find(key); it != st.open.end()) {
    path = it->second.path;
  } else {
    return std::nullopt;
  }
  if (sub_key != nullptr) {
    std::string_view rest(sub_key);
    while (!rest.empty()) {  // components, with empty ones ('\\', leading '\') dropped
      const std::size_t cut = rest.find('\\');
      const std::string_view part = rest.substr(0, cut);
      if (!part.empty()) path += "\\" + std::string(part);
      rest.remove_prefix(cut == std::string_view::npos ? rest.size() : cut + 1);
    }
  }
  return path;
}

// Reads the store (through the cache); 0 or an error number.
std::int32_t current_store(State& st, std::shared_ptr<const Store>& out) {
  const std::string path = registry_path();
  store::Identity id;
  if (int err = store::identify(path, id); err != 0) {
    if (err != ENOENT) return static_cast<std::int32_t>(error_from_errno(err));
    out = std::make_shared<const Store>();
    return 0;
  }
  if (st.have_cache && st.cached_path == path && st.cached_identity == id) {
    out = st.cached;
    return out == nullptr ? kErrorRegistryCorrupt : 0;
  }
  if (!windows_directory_usable()) {  // another user's directory: nothing stored
    out = std::make_shared<const Store>();
    return 0;
  }
  std::string content;
  if (int err = store::read_whole(path, content, id); err != 0)
    return static_cast<std::int32_t>(error_from_errno(err));
  auto s = std::make_shared<Store>();
  const bool ok = parse_store(content, *s);
  st.have_cache = id.size >= 0;
  st.cached_path = path;
  st.cached_identity = id;
  st.cached = ok ? std::shared_ptr<const Store>(s) : nullptr;
  out = st.cached;
  return ok ? 0 : kErrorRegistryCorrupt;
}

Key* find_key(Store& s, const std::string& path) {
  const std::string f = fold(path);
  for (Key& k : s.keys) {
    if (fold(k.path) == f) return &k;
  }
  return nullptr;
}
const Key* find_key(const Store& s, const std::string& path) {
  return find_key(const_cast<Store&>(s), path);
}

// True when the key, or a key below it, is stored (roots always exist).
bool key_exists(const Store& s, const std::string& path) {
  if (path.find('\\') == std::string::npos) return true;
  const std::string f = fold(path);
  for (const Key& k : s.keys) {
    const std::string kf = fold(k.path);
    if (kf == f || (kf.size() > f.size() && kf.compare(0, f.size(), f) == 0 && kf[f.size()] == '\\'))
      return true;
  }
  return false;
}

std::int32_t write_error(int err) {
  if (err == ENOENT) return kErrorPathNotFound;
  return static_cast<std::int32_t>(error_from_errno(err));
}

// Runs change on the store read afresh under the write lock and writes the
// result back when change says it changed something.
template <typename Change>
std::int32_t update(State& st, Change change) {
  if (!ensure_windows_directory()) return write_error(errno);
  const std::string path = registry_path();
  store::WriteLock lock(path);
  if (lock.error() != 0) return write_error(lock.error());
  Store s;
  std::string content;
  store::Identity id;
  std::string set_aside;  // what the write must keep a copy of first
  if (int err = store::read_whole(lock.target(), content, id); err == 0) {
    if (!parse_store(content, s)) {  // not a store: keep it all, start anew
      set_aside = content;
      s.keys.clear();
    } else {
      for (const std::string& bad : s.bad_lines) (set_aside += bad) += '\n';
    }
  } else if (err != ENOENT) {
    return write_error(err);
  }
  if (!change(s)) return 0;
  if (!set_aside.empty()) {
    const std::string backup = store::directory_of(lock.target()) + "/" + kBackupName;
    if (int err = store::save_new(backup, set_aside); err != 0) return write_error(err);
  }
  if (int err = store::replace(lock.target(), format_store(s)); err != 0) return write_error(err);
  st.have_cache = false;
  return 0;
}

RegKey new_handle(State& st, std::string path, std::uint32_t access) {
  RegKey h = st.next_handle++;
  while (h == 0 || h == kHKeyCurrentUser || h == kHKeyLocalMachine || st.open.count(h) != 0)
    h = st.next_handle++;
  st.open[h] = OpenKey{std::move(path), access};
  return h;
}

}  // namespace

std::string registry_path() { return windows_directory() + "/" + kStoreName; }

std::int32_t RegCreateKeyExA(RegKey key, const char* sub_key, std::uint32_t, const char* class_name,
                             std::uint32_t, std::uint32_t access, const void*, RegKey* result,
                             std::uint32_t* disposition) {
  if (result == nullptr) return kErrorInvalidParameter;
  State& st = state();
  std::lock_guard guard(st.mutex);
  const std::optional<std::string> path = full_path(st, key, sub_key);
  if (!path) return kErrorInvalidHandle;
  bool created = false;
  std::shared_ptr<const Store> current;
  const std::int32_t read = current_store(st, current);
  if (read != 0 || !key_exists(*current, *path)) {
    const std::int32_t err = update(st, [&](Store& s) {
      if (key_exists(s, *path)) return false;
      s.keys.push_back(Key{*path, class_name == nullptr ? "" : class_name, {}});
      created = true;
      return true;
    });
    if (err != 0) return err;
  }
  *result = new_handle(st, *path, access);
  if (disposition != nullptr) *disposition = created ? kRegCreatedNewKey : kRegOpenedExistingKey;
  return 0;
}

std::int32_t RegOpenKeyExA(RegKey key, const char* sub_key, std::uint32_t, std::uint32_t access,
                           RegKey* result) {
  if (result == nullptr) return kErrorInvalidParameter;
  State& st = state();
  std::lock_guard guard(st.mutex);
  const std::optional<std::string> path = full_path(st, key, sub_key);
  if (!path) return kErrorInvalidHandle;
  std::shared_ptr<const Store> current;
  if (std::int32_t err = current_store(st, current); err != 0) return err;
  if (!key_exists(*current, *path)) return kErrorFileNotFound;
  *result = new_handle(st, *path, access);
  return 0;
}

std::int32_t RegQueryValueExA(RegKey key, const char* name, std::uint32_t*, std::uint32_t* type,
                              std::uint8_t* data, std::uint32_t* size) {
  State& st = state();
  std::lock_guard guard(st.mutex);
  const auto it = st.open.find(key);
  if (it == st.open.end()) return kErrorInvalidHandle;
  if (data != nullptr && size == nullptr) return kErrorInvalidParameter;
  std::shared_ptr<const Store> current;
  if (std::int32_t err = current_store(st, current); err != 0) return err;
  const Key* k = find_key(*current, it->second.path);
  if (k == nullptr) return kErrorFileNotFound;
  const std::string wanted = fold(name == nullptr ? "" : name);
  for (const Value& v : k->values) {
    if (fold(v.name) != wanted) continue;
    const auto n = static_cast<std::uint32_t>(v.data.size());
    if (type != nullptr) *type = v.type;
    if (data == nullptr) {
      if (size != nullptr) *size = n;
      return 0;
    }
    if (*size < n) {
      *size = n;
      return kErrorMoreData;
    }
    if (n != 0) std::memcpy(data, v.data.data(), n);
    *size = n;
    return 0;
  }
  return kErrorFileNotFound;
}

std::int32_t RegSetValueExA(RegKey key, const char* name, std::uint32_t, std::uint32_t type,
                            const std::uint8_t* data, std::uint32_t size) {
  State& st = state();
  std::lock_guard guard(st.mutex);
  const auto it = st.open.find(key);
  if (it == st.open.end()) return kErrorInvalidHandle;
  if ((it->second.access & kKeySetValue) == 0) return kErrorAccessDenied;
  if (data == nullptr && size != 0) return kErrorInvalidParameter;
  const std::string path = it->second.path;
  Value value{name == nullptr ? "" : name, type,
              std::string(reinterpret_cast<const char*>(data), data == nullptr ? 0 : size)};
  return update(st, [&](Store& s) {
    Key* k = find_key(s, path);
    if (k == nullptr) {
      s.keys.push_back(Key{path, "", {}});
      k = &s.keys.back();
    }
    const std::string wanted = fold(value.name);
    for (Value& v : k->values) {
      if (fold(v.name) != wanted) continue;
      v.type = value.type;
      v.data = value.data;
      return true;
    }
    k->values.push_back(value);
    return true;
  });
}

std::int32_t RegEnumValueA(RegKey key, std::uint32_t index, char* name, std::uint32_t* name_size,
                           std::uint32_t*, std::uint32_t* type, std::uint8_t* data,
                           std::uint32_t* data_size) {
  if (name == nullptr || name_size == nullptr) return kErrorInvalidParameter;
  std::string value_name;
  {
    State& st = state();
    std::lock_guard guard(st.mutex);
    const auto it = st.open.find(key);
    if (it == st.open.end()) return kErrorInvalidHandle;
    std::shared_ptr<const Store> current;
    if (std::int32_t err = current_store(st, current); err != 0) return err;
    const Key* k = find_key(*current, it->second.path);
    if (k == nullptr || index >= k->values.size()) return kErrorNoMoreItems;
    value_name = k->values[index].name;
  }
  if (*name_size <= value_name.size()) return kErrorMoreData;
  std::memcpy(name, value_name.c_str(), value_name.size() + 1);
  *name_size = static_cast<std::uint32_t>(value_name.size());
  if (type == nullptr && data == nullptr && data_size == nullptr) return 0;
  return RegQueryValueExA(key, value_name.c_str(), nullptr, type, data, data_size);
}

std::int32_t RegCloseKey(RegKey key) {
  if (key == kHKeyCurrentUser || key == kHKeyLocalMachine) return 0;
  State& st = state();
  std::lock_guard guard(st.mutex);
  return st.open.erase(key) != 0 ? 0 : std::int32_t{kErrorInvalidHandle};
}

std::int32_t GetVersionExA(OsVersionInfo* info) {
  if (info == nullptr || info->size != sizeof(OsVersionInfo)) {
    SetLastError(kErrorInvalidParameter);
    return 0;
  }
  State& st = state();
  std::lock_guard guard(st.mutex);
  info->major_version = 4;
  info->minor_version = 0;
  info->build_number = 0;
  info->platform_id = st.platform_id;
  std::memset(info->service_pack, 0, sizeof info->service_pack);
  return 1;
}

void set_reported_platform(std::uint32_t platform_id) {
  State& st = state();
  std::lock_guard guard(st.mutex);
  st.platform_id = platform_id;
}

}  // namespace corva::platform
