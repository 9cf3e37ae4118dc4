#include "files/name_cache.h"

#include <chrono>
#include <cstring>
#include <list>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <unordered_set>

#include <corvaplat/dirsys.h>
#include <corvaplat/sys.h>

#include "base/util.h"
#include "files/dos_names.h"

namespace corva::platform {
namespace {

using std::chrono::system_clock;

// What one stat of a directory says about its entries: the same directory
// (device and inode) with the same modification and change times holds the
// same names, since every entry made, removed or renamed sets both times.
struct Stamp {
  dev_t dev = 0;
  ino_t ino = 0;
  timespec mtime{}, ctime{};

  explicit Stamp(const struct stat& st)
      : dev(st.st_dev), ino(st.st_ino), mtime(st.st_mtim), ctime(st.st_ctim) {}
  bool operator==(const Stamp& o) const {
    return dev == o.dev && ino == o.ino && mtime.tv_sec == o.mtime.tv_sec &&
           mtime.tv_nsec == o.mtime.tv_nsec && ctime.tv_sec == o.ctime.tv_sec &&
           ctime.tv_nsec == o.ctime.tv_nsec;
  }
};

system_clock::time_point time_of(const timespec& t) {
  return system_clock::time_point(std::chrono::duration_cast<system_clock::duration>(
      std::chrono::seconds(t.tv_sec) + std::chrono::nanoseconds(t.tv_nsec)));
}

// The file system stamps a directory from a clock that advances in ticks, so a
// change made in the same tick as the one before it leaves both times as they
// were. A listing is kept only when it began at least a tick after the
// directory's last change: every later change then moves the times. Ticks
// are a few milliseconds; a file system that stamps whole seconds (no
// nanoseconds) is given two.
bool settled(const Stamp& s, system_clock::time_point began) {
  const bool whole_seconds = s.mtime.tv_nsec == 0 && s.ctime.tv_nsec == 0;
  const auto tick = whole_seconds ? system_clock::duration(std::chrono::seconds(2))
                                  : system_clock::duration(std::chrono::milliseconds(50));
  const auto last = std::max(time_of(s.mtime), time_of(s.ctime));
  return began - tick > last;
}

std::string folded(std::string_view name) {
  std::string s(name);
  for (char& c : s) c = ascii_lower(c);
  return s;
}

// The names of one directory as they were at `stamp`.
struct Listing {
  std::string dir;
  Stamp stamp;
  // Folded name -> the smallest real name (in byte order) that folds to it.
  std::unordered_map<std::string, std::string> smallest;
  // The other real names that fold like a smaller one; mostly none.
  std::unordered_set<std::string> others;
  std::size_t count = 0;

  Listing(std::string d, const struct stat& st) : dir(std::move(d)), stamp(st) {}

  void add(std::string_view name) {
    ++count;
    auto [it, added] = smallest.try_emplace(folded(name), name);
    if (added) return;
    if (name < std::string_view(it->second)) {
      others.insert(std::move(it->second));
      it->second = std::string(name);
    } else {
      others.emplace(name);
    }
  }

  std::optional<std::string> find(std::string_view name) const {
    const auto it = smallest.find(folded(name));
    if (it == smallest.end()) return std::nullopt;
    if (it->second != name && !others.empty() && others.count(std::string(name)) != 0)
      return std::string(name);
    return it->second;
  }
};

// The remembered listings, the most recently used first.
struct Cache {
  std::mutex mutex;
  std::list<std::unique_ptr<Listing>> recent;
  std::size_t names = 0;

  // Drops the listing of dir, if any. Call with the mutex held.
  void forget(const std::string& dir) {
    for (auto it = recent.begin(); it != recent.end(); ++it) {
      if ((*it)->dir != dir) continue;
      names -= (*it)->count;
      recent.erase(it);
      return;
    }
  }
};

Cache& cache() {
  static Cache* c = new Cache;  // never destroyed: used during unload
  return *c;
}

// A fresh listing of dir, or null when it cannot be listed. `began` receives
// the time just before the stat that the listing is stamped with.
std::unique_ptr<Listing> list(const std::string& dir, system_clock::time_point& began) {
  began = system_clock::now();
  struct stat st {};
  if (sys().stat(dir.c_str(), &st) != 0) return nullptr;
  void* d = dir_sys().opendir(dir.c_str());
  if (d == nullptr) return nullptr;
  auto listing = std::make_unique<Listing>(dir, st);
  while (const char* n = dir_sys().readdir(d)) {
    if (std::strcmp(n, ".") != 0 && std::strcmp(n, "..") != 0) listing->add(n);
  }
  dir_sys().closedir(d);
  return listing;
}

}  // namespace

std::optional<std::string> find_entry(const std::string& dir, const struct stat& dir_stat,
                                      std::string_view name) {
  Cache& c = cache();
  {
    std::lock_guard lock(c.mutex);
    for (auto it = c.recent.begin(); it != c.recent.end(); ++it) {
      if ((*it)->dir != dir) continue;
      if ((*it)->stamp == Stamp(dir_stat)) {
        c.recent.splice(c.recent.begin(), c.recent, it);
        return c.recent.front()->find(name);
      }
      c.forget(dir);
      break;
    }
  }
  system_clock::time_point began;
  std::unique_ptr<Listing> listing = list(dir, began);
  if (!listing) {
    // Not listable (no read right, say): the exact name can still be looked at.
    struct stat st {};
    if (sys().stat(child_path(dir, name).c_str(), &st) == 0) return std::string(name);
    return std::nullopt;
  }
  std::optional<std::string> answer = listing->find(name);
  if (settled(listing->stamp, began) && listing->count <= kRememberedNames) {
    std::lock_guard lock(c.mutex);
    c.forget(dir);  // another thread may have listed it meanwhile
    while (!c.recent.empty() && (c.recent.size() >= kRememberedDirectories ||
                                 c.names + listing->count > kRememberedNames)) {
      c.names -= c.recent.back()->count;
      c.recent.pop_back();
    }
    c.names += listing->count;
    c.recent.push_front(std::move(listing));
  }
  return answer;
}

}  // namespace corva::platform
