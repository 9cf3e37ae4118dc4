#include <corvaplat/menus.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <vector>

#include <corvaplat/windows.h>

namespace corva::platform {
namespace {

constexpr std::uint32_t kNone = 0xFFFFFFFF;
// The flags an item keeps; the others say how the call finds or makes it.
constexpr std::uint32_t kStateFlags = MF_GRAYED | MF_DISABLED | MF_BITMAP | MF_CHECKED |
                                      MF_MENUBARBREAK | MF_MENUBREAK | MF_HILITE | MF_OWNERDRAW |
                                      MF_DEFAULT | MF_RIGHTJUSTIFY;

struct Item {
  std::uint32_t flags = 0;  // state flags plus MF_POPUP / MF_SEPARATOR
  std::uint32_t id = 0;
  MenuHandle submenu = 0;
  std::string text;
};

struct Menu {
  bool popup = false;
  std::vector<Item> items;
};

struct Menus {
  std::recursive_mutex mutex;
  std::map<MenuHandle, Menu> menus;
  MenuHandle next = 0x00200001;
};

Menus& menus() {
  static Menus* m = new Menus;
  return *m;
}

Menu* find(MenuHandle h) {
  auto& all = menus().menus;
  auto it = all.find(h);
  if (it == all.end()) {
    SetLastError(1401);  // invalid menu handle
    return nullptr;
  }
  return &it->second;
}

struct Found {
  Menu* menu = nullptr;
  std::size_t index = 0;
};

// The item by position, or by command anywhere in the tree.
Found locate(MenuHandle h, std::uint32_t item, std::uint32_t flags) {
  Menu* m = find(h);
  if (m == nullptr) return {};
  if (flags & MF_BYPOSITION) {
    if (item >= m->items.size()) return {};
    return {m, item};
  }
  for (std::size_t i = 0; i < m->items.size(); ++i) {
    const Item& it = m->items[i];
    if (it.flags & MF_POPUP) {
      if (Found f = locate(it.submenu, item, flags); f.menu != nullptr) return f;
    } else if (it.id == item && !(it.flags & MF_SEPARATOR)) {
      return {m, i};
    }
  }
  return {};
}

bool make_item(std::uint32_t flags, std::uintptr_t id, const char* text, Item& out) {
  out.flags = flags & (kStateFlags | MF_POPUP | MF_SEPARATOR);
  if (flags & MF_POPUP) {
    if (find(static_cast<MenuHandle>(id)) == nullptr) return false;
    out.submenu = static_cast<MenuHandle>(id);
    out.id = kNone;
  } else {
    out.id = (flags & MF_SEPARATOR) ? 0 : static_cast<std::uint32_t>(id);
  }
  if (!(flags & MF_SEPARATOR) && text != nullptr) out.text = text;
  return true;
}

MenuHandle create(bool popup) {
  Menus& all = menus();
  std::lock_guard g(all.mutex);
  const MenuHandle h = all.next++;
  all.menus[h].popup = popup;
  return h;
}

void destroy(MenuHandle h) {
  auto& all = menus().menus;
  auto it = all.find(h);
  if (it == all.end()) return;
  std::vector<MenuHandle> subs;
  for (const Item& i : it->second.items) {
    if (i.flags & MF_POPUP) subs.push_back(i.submenu);
  }
  all.erase(it);
  for (MenuHandle s : subs) destroy(s);
}

void dump(std::string& out, MenuHandle h, int depth) {
  const Menu* m = find(h);
  if (m == nullptr) return;
  for (const Item& i : m->items) {
    out.append(static_cast<std::size_t>(depth) * 2, ' ');
    if (i.flags & MF_SEPARATOR) {
      out += "----\n";
      continue;
    }
    for (char c : i.text) out += c == '\t' ? std::string("\\t") : std::string(1, c);
    if (!(i.flags & MF_POPUP)) out += "  id=" + std::to_string(i.id);
    if (i.flags & MF_CHECKED) out += " checked";
    if (i.flags & (MF_GRAYED | MF_DISABLED)) out += " disabled";
    out += '\n';
    if (i.flags & MF_POPUP) dump(out, i.submenu, depth + 1);
  }
}

}  // namespace

MenuHandle CreateMenu() { return create(false); }
MenuHandle CreatePopupMenu() { return create(true); }

bool DestroyMenu(MenuHandle menu) {
  std::lock_guard g(menus().mutex);
  if (find(menu) == nullptr) return false;
  destroy(menu);
  return true;
}

bool IsMenu(MenuHandle menu) {
  std::lock_guard g(menus().mutex);
  return menus().menus.count(menu) != 0;
}

bool AppendMenuA(MenuHandle menu, std::uint32_t flags, std::uintptr_t id, const char* text) {
  return InsertMenuA(menu, kNone, flags | MF_BYPOSITION, id, text);
}

bool InsertMenuA(MenuHandle menu, std::uint32_t item, std::uint32_t flags, std::uintptr_t id,
                 const char* text) {
  std::lock_guard g(menus().mutex);
  Menu* m = find(menu);
  if (m == nullptr) return false;
  Item made;
  if (!make_item(flags, id, text, made)) return false;
  if (made.submenu == menu) return false;
  Menu* into = m;
  std::size_t at = m->items.size();
  if (flags & MF_BYPOSITION) {
    at = std::min<std::size_t>(item, m->items.size());
  } else {
    const Found f = locate(menu, item, flags);
    if (f.menu == nullptr) return false;
    into = f.menu;
    at = f.index;
  }
  into->items.insert(into->items.begin() + static_cast<std::ptrdiff_t>(at), std::move(made));
  return true;
}

bool ModifyMenuA(MenuHandle menu, std::uint32_t item, std::uint32_t flags, std::uintptr_t id,
                 const char* text) {
  std::lock_guard g(menus().mutex);
  const Found f = locate(menu, item, flags);
  if (f.menu == nullptr) return false;
  Item made;
  if (!make_item(flags, id, text, made)) return false;
  Item& old = f.menu->items[f.index];
  const MenuHandle lost = (old.flags & MF_POPUP) && old.submenu != made.submenu ? old.submenu : 0;
  old = std::move(made);
  if (lost != 0) destroy(lost);
  return true;
}

bool RemoveMenu(MenuHandle menu, std::uint32_t item, std::uint32_t flags) {
  std::lock_guard g(menus().mutex);
  const Found f = locate(menu, item, flags);
  if (f.menu == nullptr) return false;
  f.menu->items.erase(f.menu->items.begin() + static_cast<std::ptrdiff_t>(f.index));
  return true;
}

bool DeleteMenu(MenuHandle menu, std::uint32_t item, std::uint32_t flags) {
  std::lock_guard g(menus().mutex);
  const Found f = locate(menu, item, flags);
  if (f.menu == nullptr) return false;
  const Item gone = f.menu->items[f.index];
  f.menu->items.erase(f.menu->items.begin() + static_cast<std::ptrdiff_t>(f.index));
  if (gone.flags & MF_POPUP) destroy(gone.submenu);
  return true;
}

int menu_item_count(MenuHandle menu) {
  std::lock_guard g(menus().mutex);
  const Menu* m = find(menu);
  return m != nullptr ? static_cast<int>(m->items.size()) : -1;
}

std::uint32_t GetMenuItemID(MenuHandle menu, int position) {
  std::lock_guard g(menus().mutex);
  const Menu* m = find(menu);
  if (m == nullptr || position < 0 || static_cast<std::size_t>(position) >= m->items.size())
    return kNone;
  return m->items[static_cast<std::size_t>(position)].id;
}

MenuHandle GetSubMenu(MenuHandle menu, int position) {
  std::lock_guard g(menus().mutex);
  const Menu* m = find(menu);
  if (m == nullptr || position < 0 || static_cast<std::size_t>(position) >= m->items.size())
    return 0;
  const Item& i = m->items[static_cast<std::size_t>(position)];
  return (i.flags & MF_POPUP) ? i.submenu : 0;
}

int GetMenuStringA(MenuHandle menu, std::uint32_t item, char* buffer, int size,
                   std::uint32_t flags) {
  std::lock_guard g(menus().mutex);
  if (buffer != nullptr && size > 0) buffer[0] = '\0';
  const Found f = locate(menu, item, flags);
  if (f.menu == nullptr) return 0;
  const std::string& t = f.menu->items[f.index].text;
  if (buffer == nullptr) return static_cast<int>(t.size());
  if (size <= 0) return 0;
  const std::size_t n = std::min(t.size(), static_cast<std::size_t>(size - 1));
  std::memcpy(buffer, t.data(), n);
  buffer[n] = '\0';
  return static_cast<int>(n);
}

std::uint32_t GetMenuState(MenuHandle menu, std::uint32_t item, std::uint32_t flags) {
  std::lock_guard g(menus().mutex);
  const Found f = locate(menu, item, flags);
  if (f.menu == nullptr) return kNone;
  const Item& i = f.menu->items[f.index];
  if (i.flags & MF_POPUP) {
    const Menu* sub = find(i.submenu);
    const auto n = static_cast<std::uint32_t>(sub != nullptr ? sub->items.size() : 0);
    return ((n & 0xFF) << 8) | (i.flags & 0xFF) | MF_POPUP;
  }
  return i.flags;
}

std::uint32_t CheckMenuItem(MenuHandle menu, std::uint32_t item, std::uint32_t flags) {
  std::lock_guard g(menus().mutex);
  const Found f = locate(menu, item, flags);
  if (f.menu == nullptr) return kNone;
  Item& i = f.menu->items[f.index];
  const std::uint32_t before = i.flags & MF_CHECKED;
  i.flags = (i.flags & ~MF_CHECKED) | (flags & MF_CHECKED);
  return before;
}

std::uint32_t EnableMenuItem(MenuHandle menu, std::uint32_t item, std::uint32_t flags) {
  std::lock_guard g(menus().mutex);
  const Found f = locate(menu, item, flags);
  if (f.menu == nullptr) return kNone;
  Item& i = f.menu->items[f.index];
  const std::uint32_t before = i.flags & (MF_GRAYED | MF_DISABLED);
  i.flags = (i.flags & ~(MF_GRAYED | MF_DISABLED)) | (flags & (MF_GRAYED | MF_DISABLED));
  return before;
}

bool SetMenu(std::uint32_t window, MenuHandle menu) {
  if (!IsWindow(window) || (GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) return false;
  if (menu != 0 && !IsMenu(menu)) return false;
  SetWindowLongPtrA(window, GWLP_ID, static_cast<LRESULT>(menu));
  return true;
}

MenuHandle GetMenu(std::uint32_t window) {
  if (!IsWindow(window) || (GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) return 0;
  return static_cast<MenuHandle>(GetWindowLongPtrA(window, GWLP_ID));
}

std::string dump_menu(MenuHandle menu) {
  std::lock_guard g(menus().mutex);
  std::string out;
  dump(out, menu, 0);
  return out;
}

std::size_t live_menu_count() {
  std::lock_guard g(menus().mutex);
  return menus().menus.size();
}

}  // namespace corva::platform
