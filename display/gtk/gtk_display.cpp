// The GTK 4 display: each top-level window of the model is a native window
// without decorations of its own (the model paints its frame and caption);
// what the model invalidates is painted through the platform's rasterizer into
// the window's backing image, and what a person does becomes the queue's input
// and messages.
#include <gtk/gtk.h>
#ifdef GDK_WINDOWING_X11
#include <X11/Xlib.h>
#include <gdk/x11/gdkx.h>
#endif

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <corvaplat/display.h>
#include <corvaplat/msgbox.h>
#include <corvaplat/render.h>
#include <corvaplat/windows.h>

namespace corva::display {
namespace {

namespace plat = corva::platform;
using plat::Point;
using plat::Rect;
using plat::WindowHandle;

class GtkDisplay;

// One native window standing for a top-level window of the model.
struct Mirror {
  GtkDisplay* display = nullptr;
  WindowHandle handle = 0;
  GtkWidget* window = nullptr;
  GtkWidget* area = nullptr;
  cairo_surface_t* backing = nullptr;
  bool damaged = false;
  Rect damage{};
  std::uint32_t pressed_hit = plat::HTNOWHERE;  // what the button press landed on
  bool moved_natively = false;
};

// The connection to the desktop is lost for good once Xlib reports it.
bool g_lost = false;

#ifdef GDK_WINDOWING_X11
int on_x_io_error(Display*) {
  g_lost = true;
  return 0;
}
void on_x_io_exit(Display*, void*) { g_lost = true; }
#endif

std::uint32_t virtual_key(guint keyval) {
  switch (keyval) {
    case GDK_KEY_Return: case GDK_KEY_KP_Enter: case GDK_KEY_ISO_Enter: return plat::VK_RETURN;
    case GDK_KEY_Tab: case GDK_KEY_ISO_Left_Tab: case GDK_KEY_KP_Tab: return plat::VK_TAB;
    case GDK_KEY_Escape: return plat::VK_ESCAPE;
    case GDK_KEY_BackSpace: return plat::VK_BACK;
    case GDK_KEY_Delete: case GDK_KEY_KP_Delete: return plat::VK_DELETE;
    case GDK_KEY_Insert: case GDK_KEY_KP_Insert: return plat::VK_INSERT;
    case GDK_KEY_Home: case GDK_KEY_KP_Home: return plat::VK_HOME;
    case GDK_KEY_End: case GDK_KEY_KP_End: return plat::VK_END;
    case GDK_KEY_Left: case GDK_KEY_KP_Left: return plat::VK_LEFT;
    case GDK_KEY_Right: case GDK_KEY_KP_Right: return plat::VK_RIGHT;
    case GDK_KEY_Up: case GDK_KEY_KP_Up: return plat::VK_UP;
    case GDK_KEY_Down: case GDK_KEY_KP_Down: return plat::VK_DOWN;
    case GDK_KEY_Page_Up: case GDK_KEY_KP_Page_Up: return plat::VK_PRIOR;
    case GDK_KEY_Page_Down: case GDK_KEY_KP_Page_Down: return plat::VK_NEXT;
    case GDK_KEY_Shift_L: case GDK_KEY_Shift_R: return plat::VK_SHIFT;
    case GDK_KEY_Control_L: case GDK_KEY_Control_R: return plat::VK_CONTROL;
    case GDK_KEY_Alt_L: case GDK_KEY_Alt_R: case GDK_KEY_Meta_L: case GDK_KEY_Meta_R:
      return plat::VK_MENU;
    case GDK_KEY_space: case GDK_KEY_KP_Space: return plat::VK_SPACE;
  }
  if (keyval >= GDK_KEY_F1 && keyval <= GDK_KEY_F12) return plat::VK_F1 + (keyval - GDK_KEY_F1);
  const gunichar c = gdk_keyval_to_unicode(keyval);
  if (c > 0x20 && c < 0x7F) return plat::virtual_key_of(static_cast<char>(c));
  return 0;
}

std::uint32_t mouse_keys(GdkModifierType state) {
  std::uint32_t keys = 0;
  if (state & GDK_BUTTON1_MASK) keys |= plat::MK_LBUTTON;
  if (state & GDK_BUTTON3_MASK) keys |= plat::MK_RBUTTON;
  if (state & GDK_BUTTON2_MASK) keys |= plat::MK_MBUTTON;
  if (state & GDK_SHIFT_MASK) keys |= plat::MK_SHIFT;
  if (state & GDK_CONTROL_MASK) keys |= plat::MK_CONTROL;
  return keys;
}

// The button-down message of a GDK button (1 left, 2 middle, 3 right).
std::uint32_t button_down_message(guint button) {
  switch (button) {
    case 2: return plat::WM_MBUTTONDOWN;
    case 3: return plat::WM_RBUTTONDOWN;
    default: return plat::WM_LBUTTONDOWN;
  }
}

Point at(double x, double y) { return Point{static_cast<int>(x), static_cast<int>(y)}; }

class GtkDisplay final : public plat::DisplayBackend {
 public:
  GtkDisplay() {
#ifdef GDK_WINDOWING_X11
    GdkDisplay* d = gdk_display_get_default();
    if (GDK_IS_X11_DISPLAY(d)) {
      // A lost X server must not end the process: the library goes on headless.
      XSetIOErrorHandler(on_x_io_error);
      XSetIOErrorExitHandler(gdk_x11_display_get_xdisplay(d), on_x_io_exit, nullptr);
    }
#endif
  }

  // Detached by the host: the native windows go; the model's stay.
  ~GtkDisplay() override {
    while (!mirrors_.empty()) destroyed(mirrors_.begin()->first);
  }

  void created(WindowHandle h) override {
    if (g_lost || mirrors_.count(h) != 0) return;
    Mirror& m = mirrors_[h];
    m.display = this;
    m.handle = h;
    m.window = gtk_window_new();
    g_object_ref_sink(m.window);
    gtk_window_set_decorated(GTK_WINDOW(m.window), FALSE);
    gtk_window_set_resizable(GTK_WINDOW(m.window), FALSE);
    m.area = gtk_drawing_area_new();
    gtk_drawing_area_set_draw_func(GTK_DRAWING_AREA(m.area), &GtkDisplay::on_draw, &m, nullptr);
    gtk_widget_set_focusable(m.area, TRUE);
    gtk_window_set_child(GTK_WINDOW(m.window), m.area);
    connect_input(m);
    g_signal_connect(m.window, "close-request", G_CALLBACK(&GtkDisplay::on_close_request), &m);
    g_signal_connect(m.window, "notify::is-active", G_CALLBACK(&GtkDisplay::on_active_changed), &m);
    retitled(h);
    placed(h);
  }

  void shown(WindowHandle h) override {
    Mirror* m = mirror(h);
    if (m == nullptr) return;
    const auto style = static_cast<std::uint32_t>(plat::GetWindowLongA(h, plat::GWL_STYLE));
    if (!(style & plat::WS_VISIBLE)) {
      gtk_widget_set_visible(m->window, FALSE);
      return;
    }
    if (!gtk_widget_get_visible(m->window)) {
      gtk_widget_set_visible(m->window, TRUE);
      invalidate_all(*m);
      place_natively(*m);
    }
    if (style & plat::WS_MINIMIZE) {
      gtk_window_minimize(GTK_WINDOW(m->window));
    } else {
      gtk_window_unminimize(GTK_WINDOW(m->window));
    }
  }

  void placed(WindowHandle h) override {
    Mirror* m = mirror(h);
    Rect r{};
    if (m == nullptr || !plat::GetWindowRect(h, &r)) return;
    const int width = std::max(1, r.width()), height = std::max(1, r.height());
    if (m->backing == nullptr || cairo_image_surface_get_width(m->backing) != width ||
        cairo_image_surface_get_height(m->backing) != height) {
      if (m->backing != nullptr) cairo_surface_destroy(m->backing);
      m->backing = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
      gtk_widget_set_size_request(m->area, width, height);
      gtk_window_set_default_size(GTK_WINDOW(m->window), width, height);
    }
    invalidate_all(*m);
    place_natively(*m);
  }

  void retitled(WindowHandle h) override {
    if (Mirror* m = mirror(h)) gtk_window_set_title(GTK_WINDOW(m->window), plat::window_text(h).c_str());
  }

  void invalidated(WindowHandle h, const Rect& r) override {
    Mirror* m = mirror(h);
    if (m == nullptr) return;
    if (m->damaged) {
      plat::UnionRect(&m->damage, &m->damage, &r);
    } else {
      m->damage = r;
      m->damaged = true;
    }
  }

  void destroyed(WindowHandle h) override {
    auto it = mirrors_.find(h);
    if (it == mirrors_.end()) return;
    Mirror& m = it->second;
    g_signal_handlers_disconnect_by_data(m.window, &m);
    if (!g_lost) gtk_window_destroy(GTK_WINDOW(m.window));
    g_object_unref(m.window);
    if (m.backing != nullptr) cairo_surface_destroy(m.backing);
    mirrors_.erase(it);
  }

  void activated(WindowHandle h, bool active) override {
    Mirror* m = mirror(h);
    if (m == nullptr) return;
    invalidate_all(*m);
    if (active && gtk_widget_get_visible(m->window) && !gtk_window_is_active(GTK_WINDOW(m->window)))
      gtk_window_present(GTK_WINDOW(m->window));
  }

  bool pump(int timeout_ms) override {
    if (g_lost) return false;
    paint_damage();
    GMainContext* context = g_main_context_default();
    if (timeout_ms != 0) {
      GSource* timeout = nullptr;
      if (timeout_ms > 0) {
        timeout = g_timeout_source_new(static_cast<guint>(timeout_ms));
        g_source_set_callback(timeout, [](gpointer) -> gboolean { return G_SOURCE_REMOVE; }, nullptr, nullptr);
        g_source_attach(timeout, context);
      }
      g_main_context_iteration(context, TRUE);
      if (timeout != nullptr) {
        g_source_destroy(timeout);
        g_source_unref(timeout);
      }
    }
    // Whatever else is ready, but never more than a bounded batch at once.
    for (int i = 0; i < 64 && !g_lost && g_main_context_iteration(context, FALSE); ++i) {
    }
    if (g_lost) return false;
    run_actions();
    paint_damage();
    return !g_lost;
  }

  void wake() override { g_main_context_wakeup(g_main_context_default()); }

  int message_box(const plat::MessageBoxRequest& request) override;

  void set_clipboard(const std::string& text) override {
    if (!g_lost) gdk_clipboard_set_text(gdk_display_get_clipboard(gdk_display_get_default()), text.c_str());
  }

  bool clipboard(std::string* text) override;

  plat::DisplayStatistics statistics() const override {
    plat::DisplayStatistics s = stats_;
    if (!latencies_.empty()) {
      std::vector<std::uint64_t> sorted = latencies_;
      std::nth_element(sorted.begin(), sorted.begin() + static_cast<std::ptrdiff_t>(sorted.size() / 2), sorted.end());
      s.median_key_to_frame_us = sorted[sorted.size() / 2];
      s.worst_key_to_frame_us = *std::max_element(latencies_.begin(), latencies_.end());
    }
    return s;
  }

 private:
  Mirror* mirror(WindowHandle h) {
    if (g_lost) return nullptr;
    auto it = mirrors_.find(h);
    return it == mirrors_.end() ? nullptr : &it->second;
  }

  void invalidate_all(Mirror& m) {
    if (m.backing == nullptr) return;
    invalidated(m.handle, Rect{0, 0, cairo_image_surface_get_width(m.backing),
                               cairo_image_surface_get_height(m.backing)});
  }

  // Without a window manager (and on X11 only) a native window can be put
  // where the model says; elsewhere the desktop decides.
  void place_natively(Mirror& m) {
#ifdef GDK_WINDOWING_X11
    if (!gtk_widget_get_realized(m.window) || m.moved_natively) return;
    GdkSurface* surface = gtk_native_get_surface(GTK_NATIVE(m.window));
    GdkDisplay* d = gdk_display_get_default();
    Rect r{};
    if (!GDK_IS_X11_DISPLAY(d) || !GDK_IS_X11_SURFACE(surface) || !plat::GetWindowRect(m.handle, &r)) return;
    XMoveWindow(gdk_x11_display_get_xdisplay(d), gdk_x11_surface_get_xid(surface), r.left, r.top);
#else
    static_cast<void>(m);
#endif
  }

  // Paints what the model invalidated since the last frame, and only that.
  // A window's procedures run while it paints and may move, resize or destroy
  // it (or others): each window is looked up again, and its image is held.
  void paint_damage() {
    std::vector<WindowHandle> damaged;
    for (auto& [h, m] : mirrors_) {
      if (m.damaged && m.backing != nullptr && gtk_widget_get_visible(m.window)) damaged.push_back(h);
    }
    for (WindowHandle h : damaged) {
      Mirror* m = mirror(h);
      if (m == nullptr || !m->damaged) continue;
      m->damaged = false;
      cairo_surface_t* image = cairo_surface_reference(m->backing);
      Rect clip = m->damage;
      clip.left = std::max(clip.left, 0);
      clip.top = std::max(clip.top, 0);
      clip.right = std::min(clip.right, cairo_image_surface_get_width(image));
      clip.bottom = std::min(clip.bottom, cairo_image_surface_get_height(image));
      const bool painted = clip.right > clip.left && clip.bottom > clip.top &&
                           plat::paint_window_to_surface(h, image, &clip);
      cairo_surface_destroy(image);
      m = mirror(h);
      if (!painted || m == nullptr) continue;
      ++stats_.paints;
      stats_.painted_pixels += static_cast<std::uint64_t>(clip.width()) * static_cast<std::uint64_t>(clip.height());
      if (key_time_us_ != 0) key_painted_ = true;
      gtk_widget_queue_draw(m->area);
    }
  }

  void run_actions() {
    while (!actions_.empty() && !g_lost) {
      std::vector<std::function<void()>> now;
      now.swap(actions_);
      for (auto& a : now) a();
    }
    if (deactivated_) {
      deactivated_ = false;
      bool any_active = false;
      for (auto& [h, m] : mirrors_) any_active |= gtk_window_is_active(GTK_WINDOW(m.window)) != 0;
      if (!any_active) plat::set_application_foreground(false);
    }
  }

  void connect_input(Mirror& m) {
    GtkEventController* keys = gtk_event_controller_key_new();
    gtk_event_controller_set_propagation_phase(keys, GTK_PHASE_CAPTURE);
    g_signal_connect(keys, "key-pressed", G_CALLBACK(&GtkDisplay::on_key_pressed), &m);
    g_signal_connect(keys, "key-released", G_CALLBACK(&GtkDisplay::on_key_released), &m);
    gtk_widget_add_controller(m.window, keys);

    GtkGesture* click = gtk_gesture_click_new();
    gtk_gesture_single_set_button(GTK_GESTURE_SINGLE(click), 0);
    g_signal_connect(click, "pressed", G_CALLBACK(&GtkDisplay::on_pressed), &m);
    g_signal_connect(click, "released", G_CALLBACK(&GtkDisplay::on_released), &m);
    gtk_widget_add_controller(m.area, GTK_EVENT_CONTROLLER(click));

    GtkEventController* motion = gtk_event_controller_motion_new();
    g_signal_connect(motion, "motion", G_CALLBACK(&GtkDisplay::on_motion), &m);
    gtk_widget_add_controller(m.area, motion);

    GtkEventController* scroll = gtk_event_controller_scroll_new(
        static_cast<GtkEventControllerScrollFlags>(GTK_EVENT_CONTROLLER_SCROLL_VERTICAL |
                                                   GTK_EVENT_CONTROLLER_SCROLL_DISCRETE));
    g_signal_connect(scroll, "scroll", G_CALLBACK(&GtkDisplay::on_scroll), &m);
    gtk_widget_add_controller(m.area, scroll);
  }

  static void on_draw(GtkDrawingArea*, cairo_t* cr, int, int, gpointer data) {
    auto* m = static_cast<Mirror*>(data);
    if (m->backing == nullptr) return;
    cairo_set_source_surface(cr, m->backing, 0, 0);
    cairo_paint(cr);
    GtkDisplay& d = *m->display;
    ++d.stats_.frames;
    if (d.key_painted_) {
      const auto us = static_cast<std::uint64_t>(g_get_monotonic_time() - d.key_time_us_);
      if (d.latencies_.size() == kLatencySamples) d.latencies_.erase(d.latencies_.begin());
      d.latencies_.push_back(us);
      d.key_time_us_ = 0;
      d.key_painted_ = false;
    }
  }

  static gboolean on_key_pressed(GtkEventControllerKey*, guint keyval, guint, GdkModifierType,
                                 gpointer data) {
    auto* m = static_cast<Mirror*>(data);
    GtkDisplay& d = *m->display;
    ++d.stats_.events;
    const std::uint32_t vk = virtual_key(keyval);
    if (vk == 0) return FALSE;
    ++d.stats_.keys;
    if (d.key_time_us_ == 0) d.key_time_us_ = g_get_monotonic_time();
    plat::key_down(vk);
    return TRUE;
  }

  static void on_key_released(GtkEventControllerKey*, guint keyval, guint, GdkModifierType,
                              gpointer data) {
    ++static_cast<Mirror*>(data)->display->stats_.events;
    if (const std::uint32_t vk = virtual_key(keyval)) plat::key_up(vk);
  }

  static void on_pressed(GtkGestureClick* gesture, int presses, double x, double y, gpointer data) {
    auto* m = static_cast<Mirror*>(data);
    ++m->display->stats_.events;
    const guint button = gtk_gesture_single_get_current_button(GTK_GESTURE_SINGLE(gesture));
    m->pressed_hit = plat::window_hit_test(m->handle, at(x, y));
    if (m->pressed_hit == plat::HTCAPTION && button == 1) {
      // The caption moves the native window, as a person expects.
      GdkSurface* surface = gtk_native_get_surface(GTK_NATIVE(m->window));
      if (GDK_IS_TOPLEVEL(surface))
        gdk_toplevel_begin_move(GDK_TOPLEVEL(surface), gtk_gesture_get_device(GTK_GESTURE(gesture)),
                                static_cast<int>(button), x, y,
                                gtk_event_controller_get_current_event_time(GTK_EVENT_CONTROLLER(gesture)));
      return;
    }
    if (m->pressed_hit != plat::HTCLIENT) return;
    const GdkModifierType state = gtk_event_controller_get_current_event_state(GTK_EVENT_CONTROLLER(gesture));
    const std::uint32_t down = button_down_message(button);
    // The second press of a double click comes as the double-click message.
    plat::mouse_input(m->handle, presses == 2 ? down + 2 : down, at(x, y),
                      mouse_keys(state) | (button == 1 ? plat::MK_LBUTTON : button == 3 ? plat::MK_RBUTTON : plat::MK_MBUTTON));
  }

  static void on_released(GtkGestureClick* gesture, int, double x, double y, gpointer data) {
    auto* m = static_cast<Mirror*>(data);
    ++m->display->stats_.events;
    const std::uint32_t hit = plat::window_hit_test(m->handle, at(x, y));
    if (m->pressed_hit == plat::HTCLOSE && hit == plat::HTCLOSE) {
      const WindowHandle h = m->handle;
      m->display->actions_.push_back([h] { plat::PostMessageA(h, plat::WM_SYSCOMMAND, plat::SC_CLOSE, 0); });
    }
    if (m->pressed_hit != plat::HTCLIENT) return;
    const guint button = gtk_gesture_single_get_current_button(GTK_GESTURE_SINGLE(gesture));
    const GdkModifierType state = gtk_event_controller_get_current_event_state(GTK_EVENT_CONTROLLER(gesture));
    plat::mouse_input(m->handle, button_down_message(button) + 1, at(x, y), mouse_keys(state));
  }

  static void on_motion(GtkEventControllerMotion* motion, double x, double y, gpointer data) {
    auto* m = static_cast<Mirror*>(data);
    ++m->display->stats_.events;
    const GdkModifierType state = gtk_event_controller_get_current_event_state(GTK_EVENT_CONTROLLER(motion));
    // Only a held button makes a move matter (capture); plain hovering would
    // only wake the host for nothing.
    if (state & (GDK_BUTTON1_MASK | GDK_BUTTON2_MASK | GDK_BUTTON3_MASK))
      plat::mouse_input(m->handle, plat::WM_MOUSEMOVE, at(x, y), mouse_keys(state));
  }

  static gboolean on_scroll(GtkEventControllerScroll* scroll, double, double dy, gpointer data) {
    auto* m = static_cast<Mirror*>(data);
    ++m->display->stats_.events;
    const GdkModifierType state = gtk_event_controller_get_current_event_state(GTK_EVENT_CONTROLLER(scroll));
    // Down (positive dy) is a negative wheel distance.
    plat::mouse_input(m->handle, plat::WM_MOUSEWHEEL, Point{0, 0}, mouse_keys(state),
                      static_cast<int>(-dy * 120));
    return TRUE;
  }

  static gboolean on_close_request(GtkWindow*, gpointer data) {
    auto* m = static_cast<Mirror*>(data);
    const WindowHandle h = m->handle;
    // The model decides: the close box means WM_SYSCOMMAND SC_CLOSE.
    m->display->actions_.push_back([h] { plat::PostMessageA(h, plat::WM_SYSCOMMAND, plat::SC_CLOSE, 0); });
    return TRUE;
  }

  static void on_active_changed(GObject*, GParamSpec*, gpointer data) {
    auto* m = static_cast<Mirror*>(data);
    GtkDisplay& d = *m->display;
    const WindowHandle h = m->handle;
    if (gtk_window_is_active(GTK_WINDOW(m->window))) {
      d.actions_.push_back([h] {
        if (!plat::IsWindow(h)) return;
        plat::set_application_foreground(true);
        plat::SetActiveWindow(h);
      });
    } else {
      d.deactivated_ = true;
    }
  }

  std::map<WindowHandle, Mirror> mirrors_;
  // What a person did that calls into the model; run after the native events
  // are handled, never from inside them.
  std::vector<std::function<void()>> actions_;
  bool deactivated_ = false;
  plat::DisplayStatistics stats_;
  gint64 key_time_us_ = 0;  // the first key press not yet shown
  static constexpr std::size_t kLatencySamples = 256;
  std::vector<std::uint64_t> latencies_;
  bool key_painted_ = false;
};

// ---- Clipboard ------------------------------------------------------------------------

// How long a paste waits for the program that holds the clipboard.
constexpr gint64 kClipboardWaitUs = 500 * 1000;

struct ClipboardRead {
  bool done = false;
  bool ok = false;
  std::string text;
};

bool GtkDisplay::clipboard(std::string* text) {
  if (g_lost) return false;
  GdkClipboard* board = gdk_display_get_clipboard(gdk_display_get_default());
  if (gdk_clipboard_is_local(board)) return false;  // ours: the layer has it already
  auto* read = new ClipboardRead;  // outlives a wait that gives up
  gdk_clipboard_read_text_async(
      board, nullptr,
      +[](GObject* source, GAsyncResult* result, gpointer data) {
        auto* r = static_cast<ClipboardRead*>(data);
        if (char* t = gdk_clipboard_read_text_finish(GDK_CLIPBOARD(source), result, nullptr)) {
          r->text = t;
          r->ok = true;
          g_free(t);
        }
        r->done = true;
      },
      read);
  const gint64 deadline = g_get_monotonic_time() + kClipboardWaitUs;
  GSource* tick = g_timeout_source_new(20);
  g_source_set_callback(tick, [](gpointer) -> gboolean { return G_SOURCE_CONTINUE; }, nullptr, nullptr);
  g_source_attach(tick, nullptr);
  while (!read->done && !g_lost && g_get_monotonic_time() < deadline)
    g_main_context_iteration(nullptr, TRUE);
  g_source_destroy(tick);
  g_source_unref(tick);
  if (!read->done) return false;  // a late answer still writes into the record: it stays
  const bool ok = read->ok;
  if (ok) *text = std::move(read->text);
  delete read;
  return ok;
}

// ---- Message boxes ----------------------------------------------------------------

struct BoxState {
  int answer = 0;
  int on_close = 0;  // the answer when the box is closed or Escape is pressed
};

int GtkDisplay::message_box(const plat::MessageBoxRequest& request) {
  if (g_lost) return 0;
  int buttons[3];
  const int count = plat::box_buttons(request.style, buttons);
  BoxState state;
  for (int i = 0; i < count; ++i) {
    if (buttons[i] == plat::IDCANCEL) state.on_close = plat::IDCANCEL;
  }
  if (count == 1) state.on_close = buttons[0];

  GtkWidget* box = gtk_window_new();
  g_object_ref_sink(box);
  gtk_window_set_title(GTK_WINDOW(box), request.caption);
  gtk_window_set_modal(GTK_WINDOW(box), TRUE);
  gtk_window_set_resizable(GTK_WINDOW(box), FALSE);
  const WindowHandle owner = request.owner != 0 ? plat::top_level_parent(request.owner) : plat::GetActiveWindow();
  if (Mirror* m = mirror(owner)) gtk_window_set_transient_for(GTK_WINDOW(box), GTK_WINDOW(m->window));

  GtkWidget* column = gtk_box_new(GTK_ORIENTATION_VERTICAL, 12);
  for (auto margin : {gtk_widget_set_margin_top, gtk_widget_set_margin_bottom,
                      gtk_widget_set_margin_start, gtk_widget_set_margin_end})
    margin(column, 12);
  GtkWidget* text = gtk_label_new(request.text);
  gtk_label_set_wrap(GTK_LABEL(text), TRUE);
  gtk_label_set_max_width_chars(GTK_LABEL(text), 60);
  gtk_box_append(GTK_BOX(column), text);
  GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 6);
  gtk_widget_set_halign(row, GTK_ALIGN_END);
  const int preferred = plat::default_button(request.style);
  for (int i = 0; i < count; ++i) {
    GtkWidget* b = gtk_button_new_with_label(plat::box_button_name(buttons[i]));
    g_object_set_data(G_OBJECT(b), "corva-answer", GINT_TO_POINTER(buttons[i]));
    g_signal_connect(b, "clicked", G_CALLBACK(+[](GtkButton* button, gpointer data) {
                       static_cast<BoxState*>(data)->answer =
                           GPOINTER_TO_INT(g_object_get_data(G_OBJECT(button), "corva-answer"));
                     }), &state);
    gtk_box_append(GTK_BOX(row), b);
    if (buttons[i] == preferred) {
      gtk_window_set_default_widget(GTK_WINDOW(box), b);
      gtk_widget_grab_focus(b);
    }
  }
  gtk_box_append(GTK_BOX(column), row);
  gtk_window_set_child(GTK_WINDOW(box), column);
  g_signal_connect(box, "close-request", G_CALLBACK(+[](GtkWindow*, gpointer data) -> gboolean {
                     auto* s = static_cast<BoxState*>(data);
                     if (s->on_close != 0) s->answer = s->on_close;
                     return TRUE;
                   }), &state);
  GtkEventController* keys = gtk_event_controller_key_new();
  g_signal_connect(keys, "key-pressed", G_CALLBACK(+[](GtkEventControllerKey*, guint keyval, guint,
                                                      GdkModifierType, gpointer data) -> gboolean {
                     auto* s = static_cast<BoxState*>(data);
                     if (keyval != GDK_KEY_Escape || s->on_close == 0) return FALSE;
                     s->answer = s->on_close;
                     return TRUE;
                   }), &state);
  gtk_widget_add_controller(box, keys);

  gtk_window_present(GTK_WINDOW(box));
  while (state.answer == 0 && !g_lost) {
    paint_damage();
    g_main_context_iteration(g_main_context_default(), TRUE);
  }
  if (!g_lost) {
    g_signal_handlers_disconnect_by_data(box, &state);
    g_signal_handlers_disconnect_by_data(keys, &state);
    gtk_window_destroy(GTK_WINDOW(box));
  }
  g_object_unref(box);
  return state.answer;
}

}  // namespace
}  // namespace corva::display

extern "C" __attribute__((visibility("default"))) corva::platform::DisplayBackend*
corva_display_create(std::string* error) {
  // The cairo renderer: no GPU needed, and nothing runs while nothing changes.
  g_setenv("GSK_RENDERER", "cairo", FALSE);
  if (!gtk_init_check()) {
    if (error != nullptr) *error = "no desktop to show windows on (is DISPLAY set?)";
    return nullptr;
  }
  return new corva::display::GtkDisplay();
}
