// Loading message texts: references, class prefixes, substitutions.
#include <charconv>
#include <cstring>

#include "corvalib/frame.h"
#include "messages/engine.h"
#include "messages/library_box.h"
#include "text/bstr.h"

namespace corva::messages {
namespace {

namespace bs = corva::text;

constexpr std::uint32_t kRetryCancel = 0x35;  // also the style of an unknown message

bool system_modal_number(std::int64_t n) { return n == 20301 || n == 20315 || n == 20336; }

int g_failing_buffers = 0;
int g_buffers_before_failing = 0;

// The text of a NUL-terminated string, at most `limit` characters of it.
std::string_view bounded(const char* text, std::size_t limit) {
  return text == nullptr ? std::string_view() : std::string_view(text, strnlen(text, limit));
}

void unknown_message(std::int64_t number, std::uint16_t high, char* buffer) {
  char digits[24];
  const auto r = std::to_chars(digits, digits + sizeof digits, number);
  bs::write(high, buffer, "<unknown message ###>");
  bs::find_and_replace(high, buffer, "###",
                       std::string_view(digits, static_cast<std::size_t>(r.ptr - digits)));
}

// Loads a numbered text with its prefix; false when no module holds it.
bool load_stored(std::int64_t number, std::uint16_t high, char* buffer) {
  if (number < 0 || number > 0xFFFF) {
    bs::fill_from(high, buffer, 0);
    return false;
  }
  return MyLoadString(static_cast<std::uint16_t>(number), high, buffer) > 0;
}

}  // namespace

Ref Ref::from(std::uintptr_t value) {
  Ref r;
  if (value > 0xFFFF) {
    r.text = reinterpret_cast<const char*>(value);
  } else {
    r.number = static_cast<std::int64_t>(value);
  }
  return r;
}

std::uint16_t Ref::help_context() const {
  return is_text() || number < 0 || number > 0xFFFF ? 0 : static_cast<std::uint16_t>(number);
}

Prefix read_prefix(std::string_view text, std::int64_t number) {
  if (text.empty()) return {kRetryCancel, 0};
  switch (text[0]) {
    case '@': return {system_modal_number(number) ? 0x1010u : 0x10u, 1};
    case '!': return {0x31, 1};
    case '%': return {0x30, 1};
    case '*': return {0x40, 1};
    case '?': return {0x123, 1};
    case '^': return text.size() > 1 && text[1] == '^' ? Prefix{0x124, 2} : Prefix{0x24, 1};
    case '~': return {0x1, 1};
    default: return {kRetryCancel, 0};
  }
}

void load_raw(std::int64_t number, std::uint16_t high, char* buffer) {
  if (!load_stored(number, high, buffer)) unknown_message(number, high, buffer);
}

void load_message(std::uint32_t* style, Ref ref, std::uint16_t high, char* buffer) {
  if (buffer == nullptr) return;
  if (ref.is_text()) {
    bs::write(high, buffer, bounded(ref.text, high));
    return;
  }
  if (!load_stored(ref.number, high, buffer)) {
    unknown_message(ref.number, high, buffer);
    if (style != nullptr) *style = kRetryCancel;
    return;
  }
  const Prefix p = read_prefix(bs::view(high, buffer), ref.number);
  if (style != nullptr) *style = p.style;
  if (p.length != 0) bs::erase(high, buffer, 0, p.length);
}

void put_number(std::uint16_t high, char* buffer, std::uint16_t n) {
  char digits[6];
  bs::find_and_replace(high, buffer, "###", bs::card_digits(n, digits));
}

void put_text(std::uint16_t high, char* buffer, std::string_view text) {
  bs::find_and_replace(high, buffer, "$$$", text);
}

void put_para(std::uint16_t high, char* buffer, std::string_view text) {
  bs::find_and_replace(high, buffer, "%$%", text);
}

void fail_work_buffers(int count, int skip) {
  g_failing_buffers = count;
  g_buffers_before_failing = skip;
}

char* take_work_buffer(std::uint32_t size) {
  if (g_failing_buffers > 0 && g_buffers_before_failing > 0) {
    --g_buffers_before_failing;
  } else if (g_failing_buffers > 0) {
    --g_failing_buffers;
    library_message(20301);  // what the allocator says when it has no block
    return nullptr;
  }
  return static_cast<char*>(_RealAllocate(size));
}

void give_work_buffer(char* block) { _RealDeAllocate(block); }

}  // namespace corva::messages
