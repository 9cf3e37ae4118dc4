#include <corvaplat/display.h>
#include <corvaplat/msgbox.h>

#include <cstdio>
#include <string>

namespace corva::platform {
namespace {

MessageBoxPresenter g_presenter = nullptr;
void* g_context = nullptr;

}  // namespace

const char* box_button_name(int id) {
  switch (id) {
    case IDOK: return "OK";
    case IDCANCEL: return "Cancel";
    case IDABORT: return "Abort";
    case IDRETRY: return "Retry";
    case IDIGNORE: return "Ignore";
    case IDYES: return "Yes";
    case IDNO: return "No";
    default: return "?";
  }
}

namespace {

// Without a presenter: one line on standard error, answered with the default.
int write_to_stderr(const MessageBoxRequest& r) {
  std::string line;
  line += '[';
  line += r.caption;
  line += "] ";
  for (const char* p = r.text; *p != '\0'; ++p) {
    line += (*p == '\r' || *p == '\n') ? ' ' : *p;
  }
  int answer = default_button(r.style);
  line += " -> ";
  line += box_button_name(answer);
  line += '\n';
  std::fputs(line.c_str(), stderr);
  std::fflush(stderr);
  return answer;
}

}  // namespace

MessageBoxPresenter set_message_box_presenter(MessageBoxPresenter presenter, void* context) {
  MessageBoxPresenter old = g_presenter;
  g_presenter = presenter;
  g_context = context;
  return old;
}

int box_buttons(std::uint32_t style, int buttons[3]) {
  switch (style & MB_TYPEMASK) {
    case MB_OKCANCEL: buttons[0] = IDOK; buttons[1] = IDCANCEL; return 2;
    case MB_ABORTRETRYIGNORE:
      buttons[0] = IDABORT; buttons[1] = IDRETRY; buttons[2] = IDIGNORE; return 3;
    case MB_YESNOCANCEL: buttons[0] = IDYES; buttons[1] = IDNO; buttons[2] = IDCANCEL; return 3;
    case MB_YESNO: buttons[0] = IDYES; buttons[1] = IDNO; return 2;
    case MB_RETRYCANCEL: buttons[0] = IDRETRY; buttons[1] = IDCANCEL; return 2;
    default: buttons[0] = IDOK; return 1;
  }
}

int default_button(std::uint32_t style) {
  int buttons[3];
  int n = box_buttons(style, buttons);
  int index = static_cast<int>((style & MB_DEFMASK) >> 8);
  return buttons[index < n ? index : 0];
}

int MessageBoxA(WindowHandle owner, const char* text, const char* caption, std::uint32_t style) {
  MessageBoxRequest r{owner, text != nullptr ? text : "", caption != nullptr ? caption : "Error",
                      style};
  if (g_presenter != nullptr) return g_presenter(g_context, r);
  if (DisplayBackend* d = current_display()) {
    if (const int answer = d->message_box(r); answer != 0) return answer;
  }
  return write_to_stderr(r);
}

}  // namespace corva::platform
