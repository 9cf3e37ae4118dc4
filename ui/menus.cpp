#include "ui/menus.h"

#include <cstring>

#include "corvaplat/globalmem.h"
#include "corvaplat/menus.h"

namespace corva::ui {
namespace plat = corva::platform;

namespace {

constexpr std::uint32_t kPopupId = 0xFFFFFFFF;
constexpr int kTextSize = 80;  // item texts are read into buffers of 80
constexpr std::int16_t kEntryStep = 10;
constexpr std::uint32_t kMoveable = plat::GMEM_MOVEABLE | plat::GMEM_ZEROINIT;

#pragma pack(push, 1)
struct MenuRecord {
  std::uint32_t menu;
  std::int16_t count;
  std::int16_t capacity;
  std::uint32_t entries;  // block of capacity OwnerEntry
};
struct OwnerEntry {
  std::uint16_t id;
  std::uint32_t owner;
};
#pragma pack(pop)

// The owner table: a moveable block of records and their count, locked only
// while an operation runs.
plat::GlobalHandle g_table = 0;
std::int16_t g_records = 0;

// Locks a block for the life of the object.
template <typename T>
class Locked {
 public:
  explicit Locked(plat::GlobalHandle h) : h_(h), p_(static_cast<T*>(plat::GlobalLock(h))) {}
  ~Locked() {
    if (p_ != nullptr) plat::GlobalUnlock(h_);
  }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;
  T* get() const { return p_; }

 private:
  plat::GlobalHandle h_;
  T* p_;
};

int find_record(const MenuRecord* records, CvHMENU menu) {
  for (int i = 0; i < g_records; ++i) {
    if (records[i].menu == menu) return i;
  }
  return -1;
}

int find_entry(const OwnerEntry* entries, std::int16_t count, std::uint16_t id) {
  for (int i = 0; i < count; ++i) {
    if (entries[i].id == id) return i;
  }
  return -1;
}

// Enters (id, module) in the record of the menu; out of memory records nothing.
void record_owner(CvHMENU menu, std::uint16_t id, std::uint32_t module) {
  if (g_table == 0) {
    g_table = plat::GlobalAlloc(kMoveable, sizeof(MenuRecord));
    if (g_table == 0) return;
  }
  int r;
  {
    Locked<MenuRecord> records(g_table);
    if (records.get() == nullptr) return;
    r = find_record(records.get(), menu);
  }
  if (r < 0) {
    if (g_records != 0) {
      const plat::GlobalHandle grown =
          plat::GlobalReAlloc(g_table, sizeof(MenuRecord) * (g_records + 1u), kMoveable);
      if (grown == 0) return;
      g_table = grown;
    }
    const plat::GlobalHandle entries = plat::GlobalAlloc(kMoveable, sizeof(OwnerEntry) * kEntryStep);
    if (entries == 0) return;
    Locked<MenuRecord> records(g_table);
    r = g_records;
    records.get()[r] = MenuRecord{menu, 0, kEntryStep, entries};
    ++g_records;
  }
  Locked<MenuRecord> records(g_table);
  MenuRecord& rec = records.get()[r];
  {
    Locked<OwnerEntry> entries(rec.entries);
    if (entries.get() == nullptr) return;
    const int e = find_entry(entries.get(), rec.count, id);
    if (e >= 0) {
      entries.get()[e].owner = module;
      return;
    }
  }
  if (rec.count >= rec.capacity) {
    const plat::GlobalHandle grown = plat::GlobalReAlloc(
        rec.entries, sizeof(OwnerEntry) * static_cast<std::size_t>(rec.capacity + kEntryStep),
        kMoveable);
    if (grown == 0) return;
    rec.entries = grown;
    rec.capacity = static_cast<std::int16_t>(rec.capacity + kEntryStep);
  }
  Locked<OwnerEntry> entries(rec.entries);
  if (entries.get() == nullptr) return;
  entries.get()[rec.count] = OwnerEntry{id, module};
  ++rec.count;
}

void remove_owner(CvHMENU menu, std::uint16_t id) {
  if (g_table == 0) return;
  Locked<MenuRecord> records(g_table);
  if (records.get() == nullptr) return;
  const int r = find_record(records.get(), menu);
  if (r < 0) return;
  MenuRecord& rec = records.get()[r];
  Locked<OwnerEntry> entries(rec.entries);
  if (entries.get() == nullptr) return;
  const int e = find_entry(entries.get(), rec.count, id);
  if (e < 0) return;
  std::memmove(entries.get() + e, entries.get() + e + 1,
               sizeof(OwnerEntry) * static_cast<std::size_t>(rec.count - e - 1));
  --rec.count;
}

std::string item_text(CvHMENU menu, int position) {
  char text[kTextSize] = {};
  plat::GetMenuStringA(menu, static_cast<std::uint32_t>(position), text, kTextSize,
                       plat::MF_BYPOSITION);
  return text;
}

}  // namespace

std::string visible_text(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\t') break;
    if (c == '\\') {
      if (i + 1 < text.size() && text[i + 1] == 't') break;
      ++i;  // the backslash and the character after it
      continue;
    }
    if (c == '&' || c == '.') continue;
    out += c;
  }
  return out;
}

std::int16_t find_item_with_id(CvHMENU menu, std::uint16_t id) {
  const int n = plat::menu_item_count(menu);
  for (int i = 0; i < n; ++i) {
    if (plat::GetMenuItemID(menu, i) == id) return static_cast<std::int16_t>(i);
  }
  return -1;
}

std::int16_t find_item_with_text(CvHMENU menu, std::string_view text) {
  const std::string want = visible_text(text.substr(0, kTextSize - 1));
  const int n = plat::menu_item_count(menu);
  for (int i = 0; i < n; ++i) {
    if (visible_text(item_text(menu, i)) == want) return static_cast<std::int16_t>(i);
  }
  return -1;
}

bool merge(std::uint32_t module, CvHMENU destination, CvHMENU source) {
  const int n = plat::menu_item_count(source);
  for (int i = 0; i < n; ++i) {
    const auto at = static_cast<std::uint32_t>(i);
    const std::string text = item_text(source, i);
    const std::uint32_t state = plat::GetMenuState(source, at, plat::MF_BYPOSITION);
    const std::uint32_t id = plat::GetMenuItemID(source, i);
    if (id == kPopupId) {
      std::int16_t pos = find_item_with_text(destination, text);
      if (pos < 0) {
        plat::AppendMenuA(destination, (state & 0xFF) | plat::MF_POPUP, plat::CreatePopupMenu(),
                          text.c_str());
        pos = find_item_with_text(destination, text);
        if (pos < 0) continue;  // the destination is not a menu
      }
      CvHMENU sub = plat::GetSubMenu(destination, pos);
      if (sub == 0) sub = plat::CreatePopupMenu();  // a command gives way to a popup
      plat::ModifyMenuA(destination, static_cast<std::uint32_t>(pos),
                        (state & 0xFF) | plat::MF_BYPOSITION | plat::MF_POPUP, sub, text.c_str());
      merge(module, plat::GetSubMenu(destination, pos), plat::GetSubMenu(source, i));
    } else if (id == 0) {
      plat::AppendMenuA(destination, state, 0, nullptr);
    } else {
      const auto command = static_cast<std::uint16_t>(id);
      const std::int16_t pos = find_item_with_id(destination, command);
      if (pos >= 0) {
        plat::ModifyMenuA(destination, static_cast<std::uint32_t>(pos), state | plat::MF_BYPOSITION,
                          command, text.c_str());
      } else {
        plat::AppendMenuA(destination, state, command, text.c_str());
      }
      record_owner(destination, command, module);
    }
  }
  return true;
}

bool unmerge(std::uint32_t module, CvHMENU destination, CvHMENU source) {
  const int n = plat::menu_item_count(source);
  for (int i = 0; i < n; ++i) {
    const std::uint32_t id = plat::GetMenuItemID(source, i);
    if (id == kPopupId) {
      const std::int16_t pos = find_item_with_text(destination, item_text(source, i));
      if (pos < 0) return false;
      const CvHMENU sub = plat::GetSubMenu(destination, pos);
      unmerge(module, sub, plat::GetSubMenu(source, i));
      if (plat::menu_item_count(sub) == 0)
        plat::RemoveMenu(destination, static_cast<std::uint32_t>(pos), plat::MF_BYPOSITION);
    } else if (id == 0) {
      for (int k = plat::menu_item_count(destination) - 1; k >= 0; --k) {
        if (plat::GetMenuItemID(destination, k) == 0) {
          plat::RemoveMenu(destination, static_cast<std::uint32_t>(k), plat::MF_BYPOSITION);
          break;
        }
      }
    } else {
      const auto command = static_cast<std::uint16_t>(id);
      const std::int16_t pos = find_item_with_id(destination, command);
      if (pos < 0) return false;
      plat::RemoveMenu(destination, static_cast<std::uint32_t>(pos), plat::MF_BYPOSITION);
      remove_owner(destination, command);
    }
  }
  return true;
}

std::uint32_t owner_of(CvHMENU menu, std::uint16_t id) {
  if (g_table == 0) return 0;
  Locked<MenuRecord> records(g_table);
  if (records.get() == nullptr) return 0;
  const int r = find_record(records.get(), menu);
  if (r < 0) return 0;
  const MenuRecord& rec = records.get()[r];
  Locked<OwnerEntry> entries(rec.entries);
  if (entries.get() == nullptr) return 0;
  const int e = find_entry(entries.get(), rec.count, id);
  return e < 0 ? 0 : entries.get()[e].owner;
}

void free_owner_table() {
  if (g_table != 0) {
    {
      Locked<MenuRecord> records(g_table);
      for (int i = 0; records.get() != nullptr && i < g_records; ++i)
        plat::GlobalFree(records.get()[i].entries);
    }
    plat::GlobalFree(g_table);
  }
  g_table = 0;
  g_records = 0;
}

std::int16_t owner_capacity(CvHMENU menu) {
  if (g_table == 0) return 0;
  Locked<MenuRecord> records(g_table);
  if (records.get() == nullptr) return 0;
  const int r = find_record(records.get(), menu);
  return r < 0 ? 0 : records.get()[r].capacity;
}

std::int16_t owner_record_count() { return g_records; }

}  // namespace corva::ui
