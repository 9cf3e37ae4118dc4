// The message queue: sending, posting, fetching, translating and dispatching;
// timers on the platform clock; typed input; accelerator tables; MDI keys.
#include <algorithm>
#include <chrono>
#include <map>

#include <corvaplat/clock.h>

#include "windows/internal.h"

namespace corva::platform {
namespace win {
namespace {

constexpr std::uint32_t kTimerMinimum = 10;
// The longest a thread sleeps at once while it waits for a timer, so that a
// message posted from another thread is not held up for long.
constexpr std::uint64_t kTimerSleepSlice = 10;

bool in_range(std::uint32_t message, std::uint32_t first, std::uint32_t last) {
  if (first == 0 && last == 0) return true;
  return message >= first && message <= last;
}

bool matches(const MSG& m, WindowHandle hwnd, std::uint32_t first, std::uint32_t last) {
  return (hwnd == 0 || m.hwnd == hwnd) && in_range(m.message, first, last);
}

void note_key(ThreadState& ts, const MSG& m) {
  const auto vk = static_cast<std::size_t>(m.wParam & 0xFF);
  switch (m.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      ts.keys[vk] = 0x80;
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      ts.keys[vk] = 0;
      break;
  }
}

// The window (of this thread) that waits for a paint, depth first.
WindowHandle find_paint(WindowHandle h, WindowHandle filter) {
  const Window* w = find(h, false);
  if (w == nullptr) return 0;
  if (w->update_pending && (filter == 0 || filter == h)) return h;
  for (WindowHandle c : w->children) {
    if (WindowHandle p = find_paint(c, filter)) return p;
  }
  return 0;
}

std::uint64_t now_ms() { return clock().ticks_ms(); }

// Takes the next deliverable message; false when nothing is there now.
bool take(ThreadState& ts, MSG* msg, WindowHandle hwnd, std::uint32_t first, std::uint32_t last,
          bool remove) {
  {
    std::lock_guard g(ts.mutex);
    for (auto it = ts.posted.begin(); it != ts.posted.end(); ++it) {
      if (!matches(*it, hwnd, first, last)) continue;
      *msg = *it;
      if (remove) ts.posted.erase(it);
      return true;
    }
  }
  while (!ts.input.empty()) {
    // Typed input goes to the window that has the focus when it is taken;
    // mouse input to the capture or the window under the pointer.
    MSG m = ts.input.front();
    if (!is_mouse_message(m.message)) {
      m.hwnd = IsWindow(ts.focus) ? ts.focus : IsWindow(ts.active) ? ts.active : 0;
    } else if (!resolve_mouse(m)) {
      ts.input.pop_front();  // its window has gone
      continue;
    }
    if (!matches(m, hwnd, first, last)) break;
    *msg = m;
    if (remove) {
      ts.input.pop_front();
      note_key(ts, m);
    }
    return true;
  }
  if (ts.paints_pending > 0 && in_range(WM_PAINT, first, last)) {
    for (WindowHandle top : thread_windows()) {
      if (WindowHandle p = find_paint(top, hwnd)) {
        *msg = MSG{p, WM_PAINT, 0, 0, GetTickCount(), {0, 0}};
        return true;
      }
    }
  }
  if (in_range(WM_TIMER, first, last) && !ts.timers.empty()) {
    const std::uint64_t now = now_ms();
    Timer* best = nullptr;
    for (Timer& t : ts.timers) {
      if (t.due > now || (hwnd != 0 && t.hwnd != hwnd)) continue;
      if (best == nullptr || t.due < best->due) best = &t;
    }
    if (best != nullptr) {
      *msg = MSG{best->hwnd, WM_TIMER, best->id,
                 reinterpret_cast<LPARAM>(best->procedure), static_cast<std::uint32_t>(now),
                 {0, 0}};
      if (remove) best->due = now + best->period;
      return true;
    }
  }
  {
    std::lock_guard g(ts.mutex);
    if (ts.quit) {
      *msg = MSG{0, WM_QUIT, static_cast<WPARAM>(ts.quit_code), 0, GetTickCount(), {0, 0}};
      if (remove) ts.quit = false;
      return true;
    }
  }
  return false;
}

bool post_to(ThreadState& ts, const MSG& m) {
  {
    std::lock_guard g(ts.mutex);
    if (ts.posted.size() >= kMessageQueueLimit) {
      SetLastError(kErrorNotEnoughQuota);
      return false;
    }
    ts.posted.push_back(m);
  }
  ts.posted_cv.notify_one();
  wake_display();
  return true;
}

struct KeyFor {
  std::uint32_t vk;
  bool shift;
};

constexpr const char* kShiftedDigits = ")!@#$%^&*(";
struct OemKey {
  std::uint32_t vk;
  char plain, shifted;
};
constexpr OemKey kOemKeys[] = {{0xBA, ';', ':'}, {0xBB, '=', '+'}, {0xBC, ',', '<'},
                               {0xBD, '-', '_'}, {0xBE, '.', '>'}, {0xBF, '/', '?'},
                               {0xC0, '`', '~'}, {0xDB, '[', '{'}, {0xDC, '\\', '|'},
                               {0xDD, ']', '}'}, {0xDE, '\'', '"'}};

// The key that types a character; vk 0 when no key does.
KeyFor key_for(char c) {
  if (c >= 'a' && c <= 'z') return {static_cast<std::uint32_t>(c - 32), false};
  if (c >= 'A' && c <= 'Z') return {static_cast<std::uint32_t>(c), true};
  if (c >= '0' && c <= '9') return {static_cast<std::uint32_t>(c), false};
  for (int d = 0; d < 10; ++d) {
    if (kShiftedDigits[d] == c) return {static_cast<std::uint32_t>('0' + d), true};
  }
  for (const OemKey& k : kOemKeys) {
    if (k.plain == c) return {k.vk, false};
    if (k.shifted == c) return {k.vk, true};
  }
  switch (c) {
    case ' ': return {VK_SPACE, false};
    case '\n':
    case '\r': return {VK_RETURN, false};
    case '\t': return {VK_TAB, false};
    case '\b': return {VK_BACK, false};
    case '\x1b': return {VK_ESCAPE, false};
  }
  return {0, false};
}

// The character a key makes with the given modifiers; 0 for none.
int char_for(std::uint32_t vk, bool shift, bool control) {
  if (vk >= 'A' && vk <= 'Z') {
    if (control) return static_cast<int>(vk - 'A' + 1);
    return static_cast<int>(shift ? vk : vk + 32);
  }
  if (control) return 0;
  if (vk >= '0' && vk <= '9') return shift ? kShiftedDigits[vk - '0'] : static_cast<int>(vk);
  for (const OemKey& k : kOemKeys) {
    if (k.vk == vk) return shift ? k.shifted : k.plain;
  }
  switch (vk) {
    case VK_SPACE: return ' ';
    case VK_RETURN: return '\r';
    case VK_TAB: return '\t';
    case VK_BACK: return '\b';
    case VK_ESCAPE: return 0x1B;
  }
  return 0;
}

void queue_key(std::uint32_t vk, bool down) {
  ThreadState& ts = current_thread();
  vk &= 0xFF;
  const bool was_down = ts.async_keys[vk] != 0;
  ts.async_keys[vk] = down ? 0x80 : 0;
  const bool alt = ts.async_keys[VK_MENU] != 0 || (vk == VK_MENU && !down);
  const bool control = ts.async_keys[VK_CONTROL] != 0;
  const bool sys = (alt && !control) || vk == 0x79;  // Alt combinations and F10
  LPARAM lp = 1;
  if (alt) lp |= LPARAM{1} << 29;
  if (was_down) lp |= LPARAM{1} << 30;
  if (!down) lp |= (LPARAM{1} << 30) | static_cast<LPARAM>(std::uint32_t{1} << 31);
  std::uint32_t message = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
  ts.input.push_back(MSG{0, message, vk, lp, GetTickCount(), {0, 0}});
}

struct AccelTables {
  std::map<AccelHandle, std::vector<Accel>> tables;
  AccelHandle next = 0x00A00001;
};
AccelTables& accel_tables() {
  static AccelTables* t = new AccelTables;
  return *t;
}

}  // namespace

void remove_queued(WindowHandle hwnd) {
  ThreadState& ts = current_thread();
  auto of = [hwnd](const MSG& m) { return m.hwnd == hwnd; };
  {
    std::lock_guard g(ts.mutex);
    ts.posted.erase(std::remove_if(ts.posted.begin(), ts.posted.end(), of), ts.posted.end());
  }
  ts.input.erase(std::remove_if(ts.input.begin(), ts.input.end(), of), ts.input.end());
}

void kill_timers(WindowHandle hwnd) {
  ThreadState& ts = current_thread();
  ts.timers.erase(std::remove_if(ts.timers.begin(), ts.timers.end(),
                                 [hwnd](const Timer& t) { return t.hwnd == hwnd; }),
                  ts.timers.end());
}

void reset_templates_and_accelerators_part() {
  std::lock_guard g(lock());
  accel_tables().tables.clear();
}

}  // namespace win

using namespace win;

LRESULT SendMessageA(WindowHandle hwnd, std::uint32_t message, WPARAM wParam, LPARAM lParam) {
  const Window* w = find(hwnd);
  if (w == nullptr) return 0;
  return w->procedure(hwnd, message, wParam, lParam);
}

bool PostMessageA(WindowHandle hwnd, std::uint32_t message, WPARAM wParam, LPARAM lParam) {
  const MSG m{hwnd, message, wParam, lParam, GetTickCount(), {0, 0}};
  if (hwnd == 0) return post_to(current_thread(), m);
  std::shared_ptr<ThreadState> ts;
  {
    std::lock_guard g(lock());
    const Window* w = find(hwnd);
    if (w == nullptr) return false;
    ts = thread_state(w->thread);
  }
  if (ts == nullptr) {
    SetLastError(kErrorInvalidWindowHandle);
    return false;
  }
  return post_to(*ts, m);
}

bool PostThreadMessageA(ThreadId thread, std::uint32_t message, WPARAM wParam, LPARAM lParam) {
  std::shared_ptr<ThreadState> ts = thread_state(thread);
  if (ts == nullptr) {
    SetLastError(kErrorInvalidParameter);
    return false;
  }
  return post_to(*ts, MSG{0, message, wParam, lParam, GetTickCount(), {0, 0}});
}

void PostQuitMessage(int exit_code) {
  ThreadState& ts = current_thread();
  {
    std::lock_guard g(ts.mutex);
    ts.quit = true;
    ts.quit_code = exit_code;
  }
  ts.posted_cv.notify_one();
  wake_display();
}

int GetMessageA(MSG* msg, WindowHandle hwnd, std::uint32_t first, std::uint32_t last) {
  if (msg == nullptr) {
    SetLastError(kErrorInvalidParameter);
    return -1;
  }
  if (hwnd != 0 && !IsWindow(hwnd)) {
    SetLastError(kErrorInvalidWindowHandle);
    return -1;
  }
  ThreadState& ts = current_thread();
  bool idle_declined = false;
  for (;;) {
    if (take(ts, msg, hwnd, first, last, true)) return msg->message == WM_QUIT ? 0 : 1;
    if (!idle_declined && ts.idle != nullptr) {
      idle_declined = !ts.idle(ts.idle_context);
      continue;
    }
    std::uint64_t due = UINT64_MAX;
    for (const Timer& t : ts.timers) {
      if (hwnd == 0 || t.hwnd == hwnd) due = std::min(due, t.due);
    }
    const bool timed = due != UINT64_MAX && in_range(WM_TIMER, first, last);
    if (thread_display() != nullptr) {
      // The display's events and the timers wake the thread together.
      const std::uint64_t now = now_ms();
      pump_display(!timed ? -1 : due > now ? static_cast<int>(std::min<std::uint64_t>(due - now, 60000)) : 0);
      continue;
    }
    if (timed) {
      const std::uint64_t now = now_ms();
      if (due > now) clock().sleep(std::chrono::milliseconds(std::min(due - now, kTimerSleepSlice)));
      continue;
    }
    std::unique_lock g(ts.mutex);
    ts.posted_cv.wait(g, [&ts] { return !ts.posted.empty() || ts.quit; });
  }
}

bool PeekMessageA(MSG* msg, WindowHandle hwnd, std::uint32_t first, std::uint32_t last,
                  std::uint32_t remove) {
  if (msg == nullptr) return false;
  pump_display(0);
  return take(current_thread(), msg, hwnd, first, last, (remove & PM_REMOVE) != 0);
}

bool TranslateMessage(const MSG* msg) {
  if (msg == nullptr) return false;
  const std::uint32_t m = msg->message;
  if (m != WM_KEYDOWN && m != WM_SYSKEYDOWN) return m == WM_KEYUP || m == WM_SYSKEYUP;
  ThreadState& ts = current_thread();
  const bool shift = ts.keys[VK_SHIFT] != 0;
  const bool control = ts.keys[VK_CONTROL] != 0;
  const int c = char_for(static_cast<std::uint32_t>(msg->wParam & 0xFF), shift, control);
  if (c != 0) {
    std::lock_guard g(ts.mutex);
    ts.posted.push_front(MSG{msg->hwnd, m == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR,
                             static_cast<WPARAM>(static_cast<unsigned char>(c)), msg->lParam,
                             msg->time, msg->pt});
  }
  return true;
}

LRESULT DispatchMessageA(const MSG* msg) {
  if (msg == nullptr) return 0;
  if (msg->message == WM_TIMER && msg->lParam != 0) {
    ThreadState& ts = current_thread();
    const auto proc = reinterpret_cast<TimerProc>(msg->lParam);
    for (const Timer& t : ts.timers) {
      if (t.hwnd == msg->hwnd && t.id == msg->wParam && t.procedure == proc) {
        proc(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
        return 0;
      }
    }
    return 0;
  }
  if (msg->hwnd == 0) return 0;
  const Window* w = find(msg->hwnd);
  if (w == nullptr || w->thread != current_thread().id) return 0;
  return SendMessageA(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

std::size_t queued_message_count() {
  ThreadState& ts = current_thread();
  std::lock_guard g(ts.mutex);
  return ts.posted.size() + ts.input.size();
}

IdleHandler set_idle_handler(IdleHandler handler, void* context) {
  ThreadState& ts = current_thread();
  IdleHandler old = ts.idle;
  ts.idle = handler;
  ts.idle_context = context;
  return old;
}

// ---- Timers ----------------------------------------------------------------------

std::uintptr_t SetTimer(WindowHandle hwnd, std::uintptr_t id, std::uint32_t milliseconds,
                        TimerProc procedure) {
  ThreadState& ts = current_thread();
  if (hwnd != 0) {
    const Window* w = find(hwnd);
    if (w == nullptr) return 0;
    if (w->thread != ts.id) {
      SetLastError(kErrorAccessDenied);
      return 0;
    }
  }
  const std::uint32_t period = std::max(milliseconds, kTimerMinimum);
  const std::uint64_t due = now_ms() + period;
  for (Timer& t : ts.timers) {
    if (t.hwnd == hwnd && t.id == id && (hwnd != 0 || id != 0)) {
      t.period = period;
      t.due = due;
      t.procedure = procedure;
      return hwnd != 0 && id == 0 ? 1 : id;
    }
  }
  if (hwnd == 0) {
    // A thread timer gets an id of its own.
    auto used = [&ts](std::uintptr_t i) {
      return std::any_of(ts.timers.begin(), ts.timers.end(),
                         [i](const Timer& t) { return t.hwnd == 0 && t.id == i; });
    };
    do {
      id = ts.next_timer_id++;
      if (ts.next_timer_id == 0x8000) ts.next_timer_id = 1;
    } while (used(id));
  }
  ts.timers.push_back(Timer{hwnd, id, period, due, procedure});
  return hwnd != 0 && id == 0 ? 1 : id;
}

bool KillTimer(WindowHandle hwnd, std::uintptr_t id) {
  ThreadState& ts = current_thread();
  for (auto it = ts.timers.begin(); it != ts.timers.end(); ++it) {
    if (it->hwnd == hwnd && it->id == id) {
      ts.timers.erase(it);
      return true;
    }
  }
  SetLastError(kErrorTimerNotFound);
  return false;
}

bool timer_running(WindowHandle hwnd, std::uintptr_t id) {
  const ThreadState& ts = current_thread();
  return std::any_of(ts.timers.begin(), ts.timers.end(),
                     [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
}

// ---- Keyboard --------------------------------------------------------------------

void key_down(std::uint32_t virtual_key) { queue_key(virtual_key, true); }
void key_up(std::uint32_t virtual_key) { queue_key(virtual_key, false); }

void press_key(std::uint32_t vk, bool shift, bool control, bool alt) {
  if (shift) key_down(VK_SHIFT);
  if (control) key_down(VK_CONTROL);
  if (alt) key_down(VK_MENU);
  key_down(vk);
  key_up(vk);
  if (alt) key_up(VK_MENU);
  if (control) key_up(VK_CONTROL);
  if (shift) key_up(VK_SHIFT);
}

void type_text(std::string_view text) {
  for (char c : text) {
    const KeyFor k = key_for(c);
    if (k.vk != 0) {
      press_key(k.vk, k.shift);
      continue;
    }
    // No key makes it: the character arrives on its own, as from an input method.
    current_thread().input.push_back(MSG{0, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)), 1,
                           GetTickCount(), {0, 0}});
  }
}

std::uint32_t virtual_key_of(char c) { return key_for(c).vk; }

std::int16_t GetKeyState(int virtual_key) {
  const ThreadState& ts = current_thread();
  return ts.keys[static_cast<std::size_t>(virtual_key) & 0xFF] != 0
             ? static_cast<std::int16_t>(-0x8000)
             : std::int16_t{0};
}

// ---- Accelerators ----------------------------------------------------------------

AccelHandle CreateAcceleratorTableA(const Accel* entries, int count) {
  if (entries == nullptr || count <= 0) {
    SetLastError(kErrorInvalidParameter);
    return 0;
  }
  std::lock_guard g(lock());
  AccelTables& t = accel_tables();
  const AccelHandle h = t.next++;
  t.tables[h] = std::vector<Accel>(entries, entries + count);
  return h;
}

bool DestroyAcceleratorTable(AccelHandle table) {
  std::lock_guard g(lock());
  return accel_tables().tables.erase(table) != 0;
}

bool TranslateAcceleratorA(WindowHandle hwnd, AccelHandle table, const MSG* msg) {
  if (msg == nullptr || !IsWindow(hwnd)) return false;
  const std::uint32_t m = msg->message;
  if (m != WM_KEYDOWN && m != WM_SYSKEYDOWN && m != WM_CHAR && m != WM_SYSCHAR) return false;
  std::vector<Accel> entries;
  {
    std::lock_guard g(lock());
    auto it = accel_tables().tables.find(table);
    if (it == accel_tables().tables.end()) {
      SetLastError(kErrorInvalidHandle);
      return false;
    }
    entries = it->second;
  }
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  const bool control = GetKeyState(VK_CONTROL) < 0;
  const bool alt = GetKeyState(VK_MENU) < 0;
  const bool key_message = m == WM_KEYDOWN || m == WM_SYSKEYDOWN;
  for (const Accel& a : entries) {
    bool hit;
    if (a.flags & FVIRTKEY) {
      hit = key_message && a.key == (msg->wParam & 0xFF) && shift == ((a.flags & FSHIFT) != 0) &&
            control == ((a.flags & FCONTROL) != 0) && alt == ((a.flags & FALT) != 0);
    } else {
      hit = !key_message && a.key == (msg->wParam & 0xFFFF) &&
            (m == WM_SYSCHAR) == ((a.flags & FALT) != 0);
    }
    if (hit) {
      SendMessageA(hwnd, WM_COMMAND, make_wparam(a.command, 1), 0);
      return true;
    }
  }
  return false;
}

// ---- MDI keys --------------------------------------------------------------------

bool TranslateMDISysAccel(WindowHandle client, const MSG* msg) {
  if (msg == nullptr) return false;
  const Window* c = find(client, false);
  if (c == nullptr || c->cls->kind != Kind::kMdiClient) return false;
  if (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN) return false;
  if (GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_MENU) < 0) return false;
  const WindowHandle active = c->mdi_active;
  if (!IsWindow(active)) return false;
  std::uint32_t command;
  switch (msg->wParam) {
    case VK_F4: command = SC_CLOSE; break;
    case VK_F6:
    case VK_TAB: command = GetKeyState(VK_SHIFT) < 0 ? SC_PREVWINDOW : SC_NEXTWINDOW; break;
    default: return false;
  }
  SendMessageA(active, WM_SYSCOMMAND, command, 0);
  return true;
}

}  // namespace corva::platform
