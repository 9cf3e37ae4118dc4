#include <corvaplat/search.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include <corvaplat/paths.h>
#include <corvaplat/sys.h>

#include "files/dos_names.h"
#include "base/util.h"

namespace corva::platform {
namespace {

enum class Tok : char { kLit, kStar, kQm, kDosStar, kDosDot };

struct Token {
  Tok kind;
  char ch;
};

// A compiled pattern, on the stack: a name component has at most 259 characters.
class TokenList {
 public:
  static constexpr std::size_t kMax = 259;
  std::size_t size() const { return n_; }
  bool empty() const { return n_ == 0; }
  const Token& operator[](std::size_t i) const { return t_[i]; }
  bool push_back(Token t) {
    if (n_ == kMax) return false;
    t_[n_++] = t;
    return true;
  }

 private:
  Token t_[kMax];
  std::size_t n_ = 0;
};

class Matcher {
 public:
  Matcher(const TokenList& tokens, std::string_view name)
      : t_(tokens), name_(name), last_dot_(name.rfind('.')) {
    const std::size_t cells = (tokens.size() + 1) * (name.size() + 1);
    if (cells <= sizeof small_) {
      std::memset(small_, 0, cells);
      memo_ = small_;
    } else {
      large_.assign(cells, 0);
      memo_ = large_.data();
    }
  }
  Matcher(const Matcher&) = delete;
  Matcher& operator=(const Matcher&) = delete;

  bool run() { return match(0, 0); }

 private:
  bool match(std::size_t p, std::size_t n) {
    const std::size_t N = name_.size();
    if (p == t_.size()) return n == N;
    char& m = memo_[p * (N + 1) + n];
    if (m != 0) return m == 1;
    bool ok = false;
    switch (t_[p].kind) {
      case Tok::kLit:
        ok = n < N && ascii_lower(name_[n]) == ascii_lower(t_[p].ch) && match(p + 1, n + 1);
        break;
      case Tok::kStar:
        for (std::size_t k = n; k <= N && !ok; ++k) ok = match(p + 1, k);
        break;
      case Tok::kDosStar: {
        // Any run that does not pass the name's last dot.
        const std::size_t limit =
            (last_dot_ != std::string_view::npos && last_dot_ >= n) ? last_dot_ : N;
        for (std::size_t k = n; k <= limit && !ok; ++k) ok = match(p + 1, k);
        break;
      }
      case Tok::kQm:
        if (n < N && name_[n] != '.') {
          ok = match(p + 1, n + 1);
        } else {  // at a dot or the end: the whole run of "?" matches nothing
          std::size_t q = p;
          while (q < t_.size() && t_[q].kind == Tok::kQm) ++q;
          ok = match(q, n);
        }
        break;
      case Tok::kDosDot:
        ok = n == N ? match(p + 1, n) : name_[n] == '.' && match(p + 1, n + 1);
        break;
    }
    m = ok ? 1 : 2;
    return ok;
  }

  const TokenList& t_;
  std::string_view name_;
  std::size_t last_dot_;
  char* memo_;
  char small_[512];          // the memo of short patterns and names
  std::vector<char> large_;  // and of long ones
};

// A wildcard pattern loses its trailing blanks and dots, as the original
// platform's path handling drops them from the last name of a path; one dot
// comes back when the pattern ended in a dot. So "*. " is "*", "* ." and "*.."
// are "*.", and "aa? " is "aa?". A pattern without wildcards is kept as it is:
// it names one entry, which on this file system may end in a blank.
std::string_view trim_pattern(std::string_view pattern, std::string& room) {
  if (pattern.find_first_of("*?") == std::string_view::npos) return pattern;
  const std::size_t keep = pattern.find_last_not_of(" .");
  if (keep == std::string_view::npos || keep + 1 == pattern.size()) return pattern;
  room.assign(pattern.substr(0, keep + 1));
  if (pattern.back() == '.') room += '.';
  return room;
}

TokenList compile(std::string_view pattern) {
  TokenList tokens;
  std::string room;
  pattern = trim_pattern(pattern, room);
  if (pattern == "*.*") pattern = "*";
  if (pattern.size() > TokenList::kMax) pattern = {};  // matches no name
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
    if (c == '?') {
      tokens.push_back({Tok::kQm, c});
    } else if (c == '*') {
      tokens.push_back({next == '.' ? Tok::kDosStar : Tok::kStar, c});
    } else if (c == '.' && (next == '\0' || next == '?' || next == '*')) {
      tokens.push_back({Tok::kDosDot, c});
    } else {
      tokens.push_back({Tok::kLit, c});
    }
  }
  return tokens;
}

bool plain_star(const TokenList& t) { return t.size() == 1 && t[0].kind == Tok::kStar; }

bool literal_tail_equal(const TokenList& t, std::size_t from, std::string_view s) {
  for (std::size_t i = 0; i < s.size(); ++i)
    if (ascii_lower(s[i]) != ascii_lower(t[from + i].ch)) return false;
  return true;
}

// The common shapes ("LEDGER.DAT", "*.DAT", "L*") without the general search:
// literals only, or one leading star followed by literals only.
int quick_match(const TokenList& t, std::string_view name) {
  std::size_t literals = 0;
  for (std::size_t i = 1; i < t.size(); ++i) literals += t[i].kind == Tok::kLit;
  if (t.empty()) return name.empty();
  if (t[0].kind == Tok::kLit && literals + 1 == t.size()) {
    return name.size() == t.size() && literal_tail_equal(t, 0, name);
  }
  if ((t[0].kind == Tok::kStar || t[0].kind == Tok::kDosStar) && literals + 1 == t.size()) {
    const std::size_t tail = t.size() - 1;
    if (name.size() < tail) return 0;
    const std::size_t at = name.size() - tail;
    if (t[0].kind == Tok::kDosStar) {
      const std::size_t dot = name.rfind('.');
      if (dot != std::string_view::npos && at > dot) return 0;
    }
    return literal_tail_equal(t, 1, name.substr(at));
  }
  return -1;  // needs the general search
}

bool only_question_marks(const TokenList& t) {
  return !t.empty() && std::all_of(&t[0], &t[0] + t.size(),
                                   [](const Token& k) { return k.kind == Tok::kQm; });
}

bool matches(const TokenList& t, std::string_view name) {
  if (const int quick = quick_match(t, name); quick >= 0) return quick == 1;
  // The directory's own entries "." and ".." are found by a run of "?" too.
  if ((name == "." || name == "..") && only_question_marks(t)) return true;
  return Matcher(t, name).run();
}

std::int32_t cut_time(std::int64_t t) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(t, INT32_MIN, INT32_MAX));
}

struct Search {
  std::string dir;                 // host directory
  std::vector<std::string> names;  // matching names, in order
  std::size_t next = 0;
};

struct Searches {
  std::mutex mutex;
  std::map<std::intptr_t, Search> open;
  std::intptr_t last = 0;
};

Searches& searches() {
  static Searches* s = new Searches;  // never destroyed: searches end at unload
  return *s;
}

// Fills data from the next entry that still exists; false at the end.
bool next_entry(Search& s, FindData* data) {
  while (s.next < s.names.size()) {
    const std::string& name = s.names[s.next++];
    const std::string host = s.dir == "/" ? "/" + name : s.dir + "/" + name;
    struct stat st {};
    if (sys().stat(host.c_str(), &st) != 0) continue;  // gone since the search began
    if (data == nullptr) return true;
    std::memset(data, 0, sizeof *data);
    if (S_ISDIR(st.st_mode)) {
      data->attrib = kAttrSubdir;
    } else {
      data->attrib = kAttrArchive;
      if ((st.st_mode & S_IWUSR) == 0) data->attrib |= kAttrReadOnly;
      data->size = static_cast<std::uint32_t>(
          std::min<std::int64_t>(st.st_size, std::int64_t{0xFFFFFFFF}));
    }
    if (name[0] == '.' && name != "." && name != "..") data->attrib |= kAttrHidden;
    data->time_create = cut_time(st.st_ctime);
    data->time_access = cut_time(st.st_atime);
    data->time_write = cut_time(st.st_mtime);
    const std::size_t n = std::min(name.size(), sizeof data->name - 1);
    std::memcpy(data->name, name.data(), n);
    return true;
  }
  return false;
}

char ascii_upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

// The order of the names in upper case ("_" after the letters), as the
// original platform's disks list them.
bool upper_less(const std::string& a, const std::string& b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const char x = ascii_upper(a[i]), y = ascii_upper(b[i]);
    if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
  }
  return a.size() != b.size() ? a.size() < b.size() : a < b;
}

}  // namespace

bool dos_wildcard_match(std::string_view pattern, std::string_view name) {
  const TokenList tokens = compile(pattern);
  if (plain_star(tokens)) return true;
  return matches(tokens, name);
}

std::intptr_t _findfirst(const char* pattern, FindData* data) {
  if (pattern == nullptr || data == nullptr) {
    SetLastError(kErrorInvalidParameter);
    return -1;
  }
  const std::string_view text(pattern);
  if (text.size() > kMaxDosPath) {
    SetLastError(kErrorFilenameTooLong);
    return -1;
  }
  // The directory is everything up to the last separator (or the drive).
  std::size_t cut = text.find_last_of("\\/");
  if (cut == std::string_view::npos && text.size() >= 2 && text[1] == ':') cut = 1;
  const std::string_view dir_text = cut == std::string_view::npos ? "" : text.substr(0, cut + 1);
  const std::string_view wanted = cut == std::string_view::npos ? text : text.substr(cut + 1);
  if (wanted.empty() || wanted.find_first_of("<>:\"|") != std::string_view::npos) {
    SetLastError(kErrorFileNotFound);
    return -1;
  }
  Search s;
  if (auto e = resolve_dos_directory(dir_text, s.dir); e != kErrorSuccess) {
    SetLastError(e);
    return -1;
  }
  std::vector<std::string> all;
  if (!list_directory(s.dir, all)) {
    SetLastError(kErrorPathNotFound);
    return -1;
  }
  std::sort(all.begin(), all.end(), upper_less);
  bool at_root = false;
  if (!dir_text.empty() && dir_text[0] == '/') {
    at_root = s.dir == "/";
  } else {
    std::string probe(dir_text);
    if (probe.empty() || probe.back() == ':') probe += '.';
    at_root = is_drive_root(probe);
  }
  if (!at_root) all.insert(all.begin(), {".", ".."});
  const TokenList tokens = compile(wanted);
  const bool every = plain_star(tokens);
  for (auto& n : all) {
    if (every || matches(tokens, n)) s.names.push_back(std::move(n));
  }
  if (!next_entry(s, data)) {
    SetLastError(kErrorFileNotFound);
    return -1;
  }
  Searches& all_searches = searches();
  std::lock_guard lock(all_searches.mutex);
  const std::intptr_t handle = ++all_searches.last;
  all_searches.open.emplace(handle, std::move(s));
  return handle;
}

int _findnext(std::intptr_t handle, FindData* data) {
  Searches& all = searches();
  std::lock_guard lock(all.mutex);
  auto it = all.open.find(handle);
  if (it == all.open.end() || data == nullptr) {
    SetLastError(kErrorInvalidHandle);
    return -1;
  }
  if (!next_entry(it->second, data)) {
    SetLastError(kErrorNoMoreFiles);
    return -1;
  }
  return 0;
}

int _findclose(std::intptr_t handle) {
  Searches& all = searches();
  std::lock_guard lock(all.mutex);
  if (all.open.erase(handle) == 0) {
    SetLastError(kErrorInvalidHandle);
    return -1;
  }
  return 0;
}

std::size_t open_searches() {
  Searches& all = searches();
  std::lock_guard lock(all.mutex);
  return all.open.size();
}

}  // namespace corva::platform
