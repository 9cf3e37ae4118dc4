// The message engine's routines, shared by the exported functions, the
// library's own message path and the tests.
#pragma once
#include <cstdint>
#include <string_view>

namespace corva::messages {

// Work-buffer capacities (HIGH) of the showing functions.
inline constexpr std::uint16_t kWorkHigh = 511;       // allocator block of 512
inline constexpr std::uint16_t kVeryLongHigh = 1023;  // allocator block of 1024
inline constexpr std::uint16_t kCardHigh = 256;       // local, "###" forms and Lib_ family
inline constexpr std::uint16_t kStringHigh = 266;     // local, "$$$" forms

// The error log: 50 lines of 79 bytes, newest first.
inline constexpr std::size_t kLogLine = 79;
inline constexpr std::size_t kLogLines = 50;
inline constexpr std::size_t kLogSize = kLogLine * kLogLines;
inline constexpr std::size_t kLogText = 70;  // message characters kept per line
inline constexpr const char* kLogName = "ERRORLOG.TXT";

// A message reference: a number to look up, or a text to show as it is.
struct Ref {
  const char* text = nullptr;  // non-null: a text given by address
  std::int64_t number = 0;     // otherwise: the message number
  static Ref from(std::uintptr_t value);
  bool is_text() const { return text != nullptr; }
  // The number the log and the help level see (0 for a text).
  std::int64_t log_number() const { return is_text() ? 0 : number; }
  std::uint16_t help_context() const;
};

// The box style a stored text's class prefix gives, and how many of its
// characters the prefix takes (0 to 2).
struct Prefix {
  std::uint32_t style;
  std::size_t length;
};
Prefix read_prefix(std::string_view text, std::int64_t number);

// Loads a message into the bounded string (high, buffer): a text is copied
// and leaves *style alone; a number is looked up, its prefix sets *style (when
// style is not null) and is removed; an unknown number gives
// "<unknown message N>" and style 0x35.
void load_message(std::uint32_t* style, Ref ref, std::uint16_t high, char* buffer);
// The same for a number, keeping the stored prefix in the text.
void load_raw(std::int64_t number, std::uint16_t high, char* buffer);

// Replaces the first "###" with the decimal digits of n, the first "$$$" with
// a text, the first "%$%" with a text, each cut to the buffer.
void put_number(std::uint16_t high, char* buffer, std::uint16_t n);
void put_text(std::uint16_t high, char* buffer, std::string_view text);
void put_para(std::uint16_t high, char* buffer, std::string_view text);
// An amount as the "%$%" parameter shows it: the money format, no leading blanks.
std::string_view amount_text(double amount, char (&field)[28]);

// Puts the message at the top of the error log in the data directory; numbers
// outside 1-65535 are logged without one. Nothing is reported when the log
// cannot be written.
void save_message(std::int64_t number, std::string_view text);
// Builds one log line (79 bytes) from a number and a text.
void log_line(std::int64_t number, std::string_view text, char (&line)[kLogLine]);
// Moves the log image down one line and puts `line` on top. `created` says
// the file was just made: its image starts as blank lines. An existing file,
// however short, keeps what it held (NUL bytes past its end).
void push_log_line(unsigned char* image, bool created, const char (&line)[kLogLine]);

// Shows a text after waiting for the foreground (the show routine); returns
// the button code.
int show_message_text(const char* text, std::uint32_t style, std::uint16_t help_context);
// The library's own path: no application window needed.
int show_library_message(const char* text, std::uint32_t style);

// Test aid: after `skip` more work buffers, the next `count` cannot be had.
void fail_work_buffers(int count, int skip = 0);
// A work block from the library allocator (null when none can be had), and
// its return.
char* take_work_buffer(std::uint32_t size);
void give_work_buffer(char* block);

}  // namespace corva::messages
