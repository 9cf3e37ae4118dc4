// Menus: menu bars and popups as trees of items, each a command (with its
// identifier), a popup (with its submenu) or a separator, with a text and
// state flags. Handles are 32-bit, never 0, and never reused.
#pragma once
#include <corvaplat/api.h>

#include <cstdint>
#include <string>

namespace corva::platform {

using MenuHandle = std::uint32_t;

// Item flags (the Windows MF_ values).
enum : std::uint32_t {
  MF_STRING = 0x0, MF_BYCOMMAND = 0x0, MF_ENABLED = 0x0, MF_UNCHECKED = 0x0,
  MF_GRAYED = 0x1, MF_DISABLED = 0x2, MF_BITMAP = 0x4, MF_CHECKED = 0x8, MF_POPUP = 0x10,
  MF_MENUBARBREAK = 0x20, MF_MENUBREAK = 0x40, MF_HILITE = 0x80, MF_OWNERDRAW = 0x100,
  MF_BYPOSITION = 0x400, MF_SEPARATOR = 0x800, MF_DEFAULT = 0x1000, MF_RIGHTJUSTIFY = 0x4000,
};

CORVAPLAT_API MenuHandle CreateMenu();
CORVAPLAT_API MenuHandle CreatePopupMenu();
// Destroys the menu and every submenu in it.
CORVAPLAT_API bool DestroyMenu(MenuHandle menu);
CORVAPLAT_API bool IsMenu(MenuHandle menu);

// For MF_POPUP, `id` is the submenu's handle, which then belongs to the item.
// A null text makes an empty text; MF_SEPARATOR makes a separator.
CORVAPLAT_API bool AppendMenuA(MenuHandle menu, std::uint32_t flags, std::uintptr_t id,
                               const char* text);
// Inserts before the item given by position (MF_BYPOSITION; past the end
// appends) or by command.
CORVAPLAT_API bool InsertMenuA(MenuHandle menu, std::uint32_t item, std::uint32_t flags,
                               std::uintptr_t id, const char* text);
// Replaces an item; a submenu that the item loses is destroyed.
CORVAPLAT_API bool ModifyMenuA(MenuHandle menu, std::uint32_t item, std::uint32_t flags,
                               std::uintptr_t id, const char* text);
// Takes an item out; its submenu is kept (RemoveMenu) or destroyed (DeleteMenu).
CORVAPLAT_API bool RemoveMenu(MenuHandle menu, std::uint32_t item, std::uint32_t flags);
CORVAPLAT_API bool DeleteMenu(MenuHandle menu, std::uint32_t item, std::uint32_t flags);

// The number of items; -1 for a handle that is not a menu. (Not named after
// the Windows call: the library exports that name itself, and a C++ host
// that uses both headers must not find two.)
CORVAPLAT_API int menu_item_count(MenuHandle menu);
// The command identifier at a position; all ones (0xFFFFFFFF) for a popup or a
// position with no item, 0 for a separator.
CORVAPLAT_API std::uint32_t GetMenuItemID(MenuHandle menu, int position);
CORVAPLAT_API MenuHandle GetSubMenu(MenuHandle menu, int position);
// Copies at most size - 1 characters of the item's text (NUL-terminated);
// returns the characters copied, or the text's length when buffer is null; 0
// when there is no such item.
CORVAPLAT_API int GetMenuStringA(MenuHandle menu, std::uint32_t item, char* buffer, int size,
                                 std::uint32_t flags);
// The item's flags; for a popup, its submenu's item count in bits 8-15 and
// MF_POPUP. 0xFFFFFFFF when there is no such item.
CORVAPLAT_API std::uint32_t GetMenuState(MenuHandle menu, std::uint32_t item,
                                         std::uint32_t flags);
// Returns the previous check state (MF_CHECKED or 0), 0xFFFFFFFF without the item.
CORVAPLAT_API std::uint32_t CheckMenuItem(MenuHandle menu, std::uint32_t item,
                                          std::uint32_t flags);
// Returns the previous MF_GRAYED / MF_DISABLED bits, 0xFFFFFFFF without the item.
CORVAPLAT_API std::uint32_t EnableMenuItem(MenuHandle menu, std::uint32_t item,
                                           std::uint32_t flags);

// The menu bar of a top-level window.
CORVAPLAT_API bool SetMenu(std::uint32_t window, MenuHandle menu);
CORVAPLAT_API MenuHandle GetMenu(std::uint32_t window);

// The menu as text, one item a line, submenus indented:
//   &File                 (popup)
//     &Open\tCtrl+O  id=100
//     ----
// Empty for a handle that is not a menu.
CORVAPLAT_API std::string dump_menu(MenuHandle menu);
// Menus alive now, for leak checks in tests.
CORVAPLAT_API std::size_t live_menu_count();

}  // namespace corva::platform
