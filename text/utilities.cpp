// Text utilities: stepping the number inside a reference, masks with
// one-character wildcards, cutting text into lines, doubling "&".
#include "text/utilities.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "text/bstr.h"

namespace corva::text {
namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The C locale's whitespace: space, tab, line feed, vertical tab, form feed, return.
bool is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The last run of digits: [start, end). Empty (start == end) when there is none.
struct Run {
  std::size_t start = 0, end = 0;
  bool found() const { return end != start; }
};

Run last_number(std::string_view t) {
  Run run;
  std::size_t p = t.size() - 1;
  while (p > 0 && !is_digit(t[p])) --p;
  if (p > 0) {
    run.end = p + 1;
    run.start = p;
    while (run.start > 0 && is_digit(t[run.start - 1])) --run.start;
  } else if (is_digit(t[0])) {
    run.end = 1;
  }
  return run;
}

// A text without digits gets `digit` at its end; when there is no room for
// it, it overwrites the character at high - 1. An array of one byte keeps
// what it holds.
void add_digit(std::uint16_t high, char* text, std::size_t length, char digit) {
  if (high == 0) return;
  if (high - 1u > length) {
    insert(std::string_view(&digit, 1), high, text, length);
    return;
  }
  text[high - 1] = digit;
  text[high] = '\0';
}

void step_up(std::uint16_t high, char* text) {
  const std::string_view t = view(high, text);
  if (t.empty()) return;
  const Run run = last_number(t);
  if (!run.found()) return add_digit(high, text, t.size(), '1');
  for (std::size_t i = run.end; i-- > run.start;) {
    if (text[i] != '9') {
      ++text[i];
      return;
    }
    text[i] = '0';
  }
  // All nines: the number grows by a digit when the array has room for it.
  if (t.size() < high) insert("1", high, text, run.start);
}

void step_down(std::uint16_t high, char* text) {
  const std::string_view t = view(high, text);
  if (t.empty()) return;
  const Run run = last_number(t);
  if (!run.found()) return add_digit(high, text, t.size(), '0');
  // Zero has nothing to borrow from and stays as it is.
  if (t.substr(run.start, run.end - run.start).find_first_not_of('0') == std::string_view::npos)
    return;
  for (std::size_t i = run.end; i-- > run.start;) {
    if (text[i] != '0') {
      --text[i];
      break;
    }
    text[i] = '9';
  }
  // A run of seven or more digits that now begins with a zero loses that one
  // zero; shorter runs keep their width.
  if (text[run.start] == '0' && run.end - run.start >= 7) erase(high, text, run.start, 1);
}

// Leaves the array tidy behind the text, as every writer does.
void tidy(std::uint16_t high, char* text) { fill_from(high, text, length(high, text)); }

}  // namespace

void increment(std::uint16_t high, char* text) {
  step_up(high, text);
  tidy(high, text);
}

void decrement(std::uint16_t high, char* text) {
  step_down(high, text);
  tidy(high, text);
}

int match_mask(const char* text, const char* mask) {
  if (mask == nullptr || *mask == '\0') return 0;
  if (text == nullptr) text = "";
  for (std::size_t i = 0;; ++i) {
    if (mask[i] == '\0') return text[i] == '\0' ? 0 : 1;
    if (mask[i] == '*') {
      if (text[i] != '\0') continue;
      for (std::size_t j = i; mask[j] != '\0'; ++j) {
        if (mask[j] != '*') return 1;
      }
      return 0;
    }
    if (mask[i] != text[i]) {
      return static_cast<signed char>(text[i]) > static_cast<signed char>(mask[i]) ? 1 : -1;
    }
  }
}

bool wrap_line(std::uint16_t line_high, char* line, std::uint16_t text_high, char* text) {
  std::string copy;
  std::string_view t = view(text_high, text);
  if (t.empty()) {
    fill_from(line_high, line, 0);
    return false;
  }
  // The line is written before the text moves: a line inside the text's
  // array must not see its own writes.
  if (overlaps(t, line, line_high)) {
    copy.assign(t);
    t = copy;
  }
  std::size_t n = 0;
  while (n < t.size() && t[n] != '\n' && n < line_high) ++n;
  std::size_t brk = n;
  if (n < t.size() && !is_space(t[n])) {
    // Full in the middle of a word: break after the last whitespace, if any.
    for (std::size_t i = n; i-- > 0;) {
      if (is_space(t[i])) {
        brk = i + 1;
        break;
      }
    }
  }
  std::size_t end = brk;
  while (end > 0 && is_space(t[end - 1])) --end;
  write(line_high, line, t.substr(0, end));
  std::size_t rest = brk;
  while (rest < t.size() && is_space(t[rest])) ++rest;
  write(text_high, text, t.substr(rest));
  return end != 0;
}

void double_ampersands(std::uint16_t high, char* text) {
  std::size_t len = length(high, text);
  for (std::size_t pos = 0; pos < high && pos < len; ++pos) {
    if (text[pos] != '&') continue;
    insert("&", high, text, pos + 1);
    len = std::min<std::size_t>(len + 1, high);  // a text that grows too long is cut at high
    ++pos;                                       // go on after the inserted one
  }
  tidy(high, text);
}

}  // namespace corva::text
