// The exported message functions: load, substitute, log, show.
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "corvalib/messages.h"
#include "frame/boundary.h"
#include "messages/engine.h"
#include "text/bstr.h"

namespace bs = corva::text;
using namespace corva::messages;

namespace {

// A work buffer from the library allocator, given back at scope end.
class WorkBuffer {
 public:
  explicit WorkBuffer(std::uint16_t high) : high_(high), data_(take_work_buffer(high + 1u)) {}
  ~WorkBuffer() { give_work_buffer(data_); }
  WorkBuffer(const WorkBuffer&) = delete;
  WorkBuffer& operator=(const WorkBuffer&) = delete;
  char* data() { return data_; }
  std::uint16_t high() const { return high_; }
  explicit operator bool() const { return data_ != nullptr; }

 private:
  std::uint16_t high_;
  char* data_;
};

std::string_view plain(const char* text, std::size_t limit) {
  return text == nullptr ? std::string_view() : std::string_view(text, strnlen(text, limit));
}

// Logs the text in the buffer and shows it.
std::uint16_t log_and_show(std::int64_t number, std::uint16_t high, const char* buffer,
                           std::uint32_t style, std::uint16_t context) {
  save_message(number, bs::view(high, buffer));
  return static_cast<std::uint16_t>(show_message_text(buffer, style, context));
}

std::uint16_t log_and_show_library(std::int64_t number, std::uint16_t high, const char* buffer,
                                   std::uint32_t style) {
  save_message(number, bs::view(high, buffer));
  return static_cast<std::uint16_t>(show_library_message(buffer, style));
}

// vsnprintf into a bounded string of HIGH high, NUL-filled behind the text.
void format_into(std::uint16_t high, char* buffer, const char* format, va_list args) {
  std::memset(buffer, 0, high + 1u);
  if (format == nullptr) return;
  const int n = std::vsnprintf(buffer, high + 1u, format, args);
  if (n < 0) std::memset(buffer, 0, high + 1u);
}

// Logs and shows the message loaded for REF: as one of the library's own, or
// as the product's with the help context of REF.
std::uint16_t show_loaded(Ref ref, std::uint16_t high, const char* buffer, std::uint32_t style,
                          bool library) {
  return library ? log_and_show_library(ref.log_number(), high, buffer, style)
                 : log_and_show(ref.log_number(), high, buffer, style, ref.help_context());
}

std::uint16_t with_card(std::uint32_t style, Ref ref, std::uint16_t n, bool library) {
  char buffer[kCardHigh + 1];
  load_message(&style, ref, kCardHigh, buffer);
  put_number(kCardHigh, buffer, n);
  return show_loaded(ref, kCardHigh, buffer, style, library);
}

// The "$$$" form in a local buffer of HIGH High.
template <std::uint16_t High>
std::uint16_t with_string(std::uint32_t style, Ref ref, std::uint16_t shigh, const char* s,
                          bool library) {
  char buffer[High + 1];
  load_message(&style, ref, High, buffer);
  put_text(High, buffer, bs::view(shigh, s, High));
  return show_loaded(ref, High, buffer, style, library);
}

}  // namespace

extern "C" {

uint16_t Message(uint32_t style, uintptr_t ref) try {
  WorkBuffer b(kWorkHigh);
  if (!b) return 0;
  const Ref r = Ref::from(ref);
  load_message(&style, r, b.high(), b.data());
  return log_and_show(r.log_number(), b.high(), b.data(), style, r.help_context());
} CORVA_BOUNDARY(0)

uint16_t MessageWithCard(uint32_t style, uintptr_t ref, uint16_t n) try {
  return with_card(style, Ref::from(ref), n, false);
} CORVA_BOUNDARY(0)

uint16_t MessageWithString(uint32_t style, uintptr_t ref, uint16_t shigh, const char* s) try {
  return with_string<kStringHigh>(style, Ref::from(ref), shigh, s, false);
} CORVA_BOUNDARY(0)

uint16_t MessageWithArgs(uint32_t style, uintptr_t ref, ...) try {
  WorkBuffer format(kWorkHigh);
  if (!format) return 0;
  const Ref r = Ref::from(ref);
  load_message(&style, r, format.high(), format.data());
  save_message(r.log_number(), bs::view(format.high(), format.data()));
  WorkBuffer shown(kWorkHigh);
  if (!shown) return 0;
  va_list args;
  va_start(args, ref);
  format_into(shown.high(), shown.data(), format.data(), args);
  va_end(args);
  return static_cast<std::uint16_t>(show_message_text(shown.data(), style, r.help_context()));
} CORVA_BOUNDARY(0)

uint16_t VeryLongMessage(uint32_t style, int32_t first, int32_t last) try {
  WorkBuffer b(kVeryLongHigh);
  if (!b) return 0;
  Ref r;
  r.number = first;
  load_message(&style, r, b.high(), b.data());
  for (std::int64_t n = std::int64_t{first} + 1; n <= last; ++n) {
    const std::size_t used = bs::length(b.high(), b.data());
    if (used >= b.high()) break;  // no room left for anything more
    Ref next;
    next.number = n;
    std::uint32_t discarded = 0;
    load_message(&discarded, next, static_cast<std::uint16_t>(b.high() - used), b.data() + used);
  }
  return log_and_show(first, b.high(), b.data(), style, r.help_context());
} CORVA_BOUNDARY(0)

uint16_t MessageStr(uint32_t style, const char* text) try {
  WorkBuffer b(kWorkHigh);
  if (!b) return 0;
  bs::write(b.high(), b.data(), plain(text, b.high()));
  return log_and_show(0, b.high(), b.data(), style, 0);
} CORVA_BOUNDARY(0)

uint16_t MessageStrArg(uint32_t style, const char* format, ...) try {
  WorkBuffer b(kWorkHigh);
  if (!b) return 0;
  va_list args;
  va_start(args, format);
  format_into(b.high(), b.data(), format, args);
  va_end(args);
  return log_and_show(0, b.high(), b.data(), style, 0);
} CORVA_BOUNDARY(0)

uint16_t MessageStrWithCard(uint32_t style, const char* text, uint16_t n) try {
  char buffer[kCardHigh + 1];
  bs::write(kCardHigh, buffer, plain(text, kCardHigh));
  put_number(kCardHigh, buffer, n);
  return log_and_show(0, kCardHigh, buffer, style, 0);
} CORVA_BOUNDARY(0)

uint16_t MessageStrWithString(uint32_t style, const char* text, uint16_t shigh, const char* s) try {
  char buffer[kStringHigh + 1];
  bs::write(kStringHigh, buffer, plain(text, kStringHigh));
  put_text(kStringHigh, buffer, bs::view(shigh, s, kStringHigh));
  return log_and_show(0, kStringHigh, buffer, style, 0);
} CORVA_BOUNDARY(0)

uint16_t MessageWithPara(uint32_t style, uintptr_t ref, int16_t count, const MessageParam* params) try {
  WorkBuffer b(kWorkHigh);
  if (!b) return 0;
  const Ref r = Ref::from(ref);
  if (r.is_text()) {
    load_message(nullptr, r, b.high(), b.data());
  } else {
    load_raw(r.number, b.high(), b.data());
  }
  for (int i = 0; params != nullptr && i < count; ++i) {
    const MessageParam& p = params[i];
    if (p.kind == 0) {
      put_number(b.high(), b.data(), static_cast<std::uint16_t>(p.value & 0xFFFF));
    } else if (p.kind == 1 && p.value != 0) {
      char field[28];
      put_para(b.high(), b.data(), amount_text(*reinterpret_cast<const double*>(p.value), field));
    } else if (p.kind == 2) {
      put_para(b.high(), b.data(), plain(reinterpret_cast<const char*>(p.value), b.high()));
    }
  }
  return log_and_show(r.log_number(), b.high(), b.data(), style, r.help_context());
} CORVA_BOUNDARY(0)

void GetTheMessage(uint32_t* style, uintptr_t ref, uint16_t high, char* buffer) try {
  load_message(style, Ref::from(ref), high, buffer);
} CORVA_BOUNDARY()

void SaveTheMessage(int32_t ref, uint16_t, const char* text) try {
  save_message(ref, plain(text, kLogText));
} CORVA_BOUNDARY()

uint16_t Lib_Message(uint32_t style, uintptr_t ref) try {
  char buffer[kCardHigh + 1];
  const Ref r = Ref::from(ref);
  load_message(&style, r, kCardHigh, buffer);
  return show_loaded(r, kCardHigh, buffer, style, true);
} CORVA_BOUNDARY(0)

uint16_t Lib_MessageWithCard(uint32_t style, uintptr_t ref, uint16_t n) try {
  return with_card(style, Ref::from(ref), n, true);
} CORVA_BOUNDARY(0)

uint16_t Lib_MessageWithString(uint32_t style, uintptr_t ref, uint16_t shigh, const char* s) try {
  return with_string<kCardHigh>(style, Ref::from(ref), shigh, s, true);
} CORVA_BOUNDARY(0)

}  // extern "C"
