#include <corvaplat/atoms.h>

#include <cstring>
#include <map>
#include <mutex>
#include <string>

#include "base/util.h"

namespace corva::platform {
namespace {

struct AtomEntry {
  std::string name;
  int references = 0;
};

struct AtomTable {
  std::mutex mutex;
  std::map<Atom, AtomEntry> atoms;
};

AtomTable& table() {
  // Never destroyed: the library's unload runs after static destructors.
  static AtomTable* t = new AtomTable;
  return *t;
}

constexpr Atom kFirstAtom = 0xC000;
constexpr std::size_t kMaxAtomName = 255;

Atom find_locked(AtomTable& t, std::string_view name) {
  for (const auto& [atom, e] : t.atoms) {
    if (equal_no_case(e.name, name)) return atom;
  }
  return 0;
}

}  // namespace

Atom GlobalAddAtomA(const char* name) {
  if (name == nullptr) return 0;
  std::string_view n(name, strnlen(name, kMaxAtomName + 1));
  if (n.empty() || n.size() > kMaxAtomName) {
    SetLastError(kErrorInvalidParameter);
    return 0;
  }
  AtomTable& t = table();
  std::lock_guard lock(t.mutex);
  if (Atom a = find_locked(t, n)) {
    ++t.atoms[a].references;
    return a;
  }
  for (unsigned a = kFirstAtom; a <= 0xFFFF; ++a) {
    auto atom = static_cast<Atom>(a);
    if (t.atoms.count(atom) == 0) {
      t.atoms[atom] = AtomEntry{std::string(n), 1};
      return atom;
    }
  }
  SetLastError(kErrorNotEnoughMemory);
  return 0;
}

Atom GlobalDeleteAtom(Atom atom) {
  AtomTable& t = table();
  std::lock_guard lock(t.mutex);
  auto it = t.atoms.find(atom);
  if (it == t.atoms.end()) {
    SetLastError(kErrorInvalidHandle);
    return atom;
  }
  if (--it->second.references <= 0) t.atoms.erase(it);
  return 0;
}

Atom GlobalFindAtomA(const char* name) {
  if (name == nullptr) return 0;
  AtomTable& t = table();
  std::lock_guard lock(t.mutex);
  return find_locked(t, std::string_view(name, strnlen(name, kMaxAtomName + 1)));
}

std::string atom_name(Atom atom) {
  AtomTable& t = table();
  std::lock_guard lock(t.mutex);
  auto it = t.atoms.find(atom);
  return it == t.atoms.end() ? std::string() : it->second.name;
}

}  // namespace corva::platform
