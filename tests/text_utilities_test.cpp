// Reference stepping, masks, line wrapping and ampersand doubling, as tables.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "corvalib/text.h"

namespace {

// A bounded string of the given HIGH in an array with a guard byte after it;
// `fill` is what the array holds beyond the text before the call.
struct Bounded {
  std::vector<char> bytes;
  uint16_t high;
  Bounded(uint16_t h, const std::string& text, char fill = '\0') : bytes(h + 2u, fill), high(h) {
    std::memcpy(bytes.data(), text.data(), std::min<std::size_t>(text.size(), h + 1u));
    if (text.size() <= h) bytes[text.size()] = '\0';
    bytes[h + 1u] = '#';
  }
  char* data() { return bytes.data(); }
  std::string text() const { return std::string(bytes.data(), Length(high, bytes.data())); }
  // Everything after the text up to position high is NUL, and the guard holds.
  bool tidy() const {
    for (std::size_t i = text().size(); i <= high; ++i)
      if (bytes[i] != '\0') return false;
    return bytes[high + 1u] == '#';
  }
};

TEST(TextUtilities, StepReferenceNumbers) {
  struct Case {
    bool up;
    uint16_t high;
    const char* in;
    const char* out;
  };
  const Case cases[] = {
      {true, 1, "A9", "A0"},          {true, 10, "9", "10"},
      {true, 10, "ABC", "ABC1"},      {true, 10, "5XY", "6XY"},
      {false, 20, "A1000000B", "A999999B"},
      {false, 20, "0000005", "000004"},
      {false, 20, "100", "099"},      {false, 20, "1000000", "999999"},
      {true, 20, "99", "100"},        {true, 2, "99", "00"},
      {true, 3, "99", "100"},         {true, 3, "AB12", "AB13"},  // fills the array
      {true, 3, "X999", "X000"},      {true, 20, "", ""},
      {false, 20, "", ""},            {false, 10, "ABC", "ABC0"},
      {true, 3, "ABC", "AB1"},        {true, 4, "ABCD", "ABC1"},
      {true, 3, "ABCD", "AB1"},       {true, 1, "A", "1"},
      {true, 0, "A", "A"},            {true, 0, "7", "8"},
      {false, 20, "000", "000"},      {false, 20, "A0-0", "A0-0"},
      {false, 20, "0000001", "000000"},
      {true, 20, "12AB34CD", "12AB35CD"},
      {true, 20, "9-X", "10-X"},      {false, 20, "R10 ", "R09 "},
      {true, 20, "\xff" "9", "\xff" "10"},
      {true, 20, "*/ ", "*/ 1"},
  };
  for (const Case& c : cases) {
    Bounded b(c.high, c.in, 'Z');
    (c.up ? TextIncrement : TextDecrement)(b.high, b.data());
    EXPECT_EQ(b.text(), c.out) << (c.up ? "up " : "down ") << c.in << " in HIGH " << c.high;
    EXPECT_TRUE(b.tidy() || std::strlen(c.in) > c.high) << c.in;
  }
  TextIncrement(10, nullptr);
  TextDecrement(10, nullptr);

  // Every other character stays where it is around the number.
  for (int c = 1; c < 256; ++c) {
    if (c >= '0' && c <= '9') continue;
    const std::string ch(1, static_cast<char>(c));
    Bounded up(20, "R" + ch + "9" + ch), down(20, "R" + ch + "10" + ch);
    TextIncrement(up.high, up.data());
    TextDecrement(down.high, down.data());
    EXPECT_EQ(up.text(), "R" + ch + "10" + ch) << c;
    EXPECT_EQ(down.text(), "R" + ch + "09" + ch) << c;
  }
}

// Every five-digit reference steps to its neighbours and back, keeping width.
TEST(TextUtilities, StepEveryFiveDigitNumber) {
  char expect[16];
  for (int n = 0; n < 99999; ++n) {
    char text[16];
    std::snprintf(text, sizeof text, "R%05d/", n);
    TextIncrement(15, text);
    std::snprintf(expect, sizeof expect, "R%05d/", n + 1);
    ASSERT_STREQ(text, expect) << n;
    TextDecrement(15, text);
    std::snprintf(expect, sizeof expect, "R%05d/", n);
    ASSERT_STREQ(text, expect) << n;
  }
}

TEST(TextUtilities, MatchMasks) {
  struct Case {
    const char* text;
    const char* mask;
    int16_t result;
  };
  const Case cases[] = {
      {"AB12", "AB**", 0}, {"AB1", "AB**", 0},   {"AB123", "AB**", 1}, {"AC", "AB", 1},
      {"AA", "AB", -1},    {"anything", "", 0},  {"", "", 0},          {"", "**", 0},
      {"", "*A", 1},       {"", "A", -1},        {"AB", "AB*X", 1},    {"ABC", "A*C", 0},
      {"ABC", "A*D", -1},  {"A", "\x80", 1},     {"\x80", "A", -1},    {"*", "*", 0},
      {"a", "A", 1},       {nullptr, "A", -1},   {nullptr, nullptr, 0}, {"A", nullptr, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MatchMask(c.text, c.mask), c.result)
        << (c.text ? c.text : "(null)") << " against " << (c.mask ? c.mask : "(null)");
  }
  // Every pair of characters: "*" takes any, others compare as signed bytes.
  for (int t = 1; t < 256; ++t) {
    for (int m = 1; m < 256; ++m) {
      const char text[] = {static_cast<char>(t), 'x', 0};
      const char mask[] = {static_cast<char>(m), 'x', 0};
      const int st = static_cast<signed char>(t), sm = static_cast<signed char>(m);
      const int16_t want = m == '*' || t == m ? 0 : st > sm ? 1 : -1;
      ASSERT_EQ(MatchMask(text, mask), want) << t << " " << m;
    }
  }
}

TEST(TextUtilities, WrapLines) {
  struct Case {
    uint16_t width;
    const char* text;
    std::vector<std::string> lines;  // "" for a call that gives FALSE
  };
  const Case cases[] = {
      {8, "hello world", {"hello", "world", ""}},
      {4, "abcdefgh", {"abcd", "efgh", ""}},
      {5, "hello world", {"hello", "world", ""}},
      {10, "\n\nabc", {"", "abc", ""}},
      {1, "ab c", {"a", "b", "c", ""}},
      {6, "one two  three", {"one", "two", "three", ""}},
      {20, "line one\nline two", {"line one", "line two", ""}},
      {20, "a \t\n b", {"a", "b", ""}},
      {10, "   ", {"", ""}},
      {3, "a  bcdef", {"a", "bcd", "ef", ""}},
      {4, "ab\tcd\ve", {"ab", "cd\ve", ""}},
      {3, "a\xa0" "bc d", {"a\xa0" "b", "c d", ""}},  // 0xA0 is no whitespace
      {6, "ab\r\n\f\n  cd", {"ab", "cd", ""}},
  };
  for (const Case& c : cases) {
    Bounded text(40, c.text);
    for (std::size_t i = 0; i < c.lines.size(); ++i) {
      Bounded line(c.width, "garbage!", 'G');
      const int32_t got = LineWrapper(line.high, line.data(), text.high, text.data());
      EXPECT_EQ(got, c.lines[i].empty() ? 0 : 1) << c.text << " call " << i;
      EXPECT_EQ(line.text(), c.lines[i]) << c.text << " call " << i;
      EXPECT_TRUE(line.tidy() && text.tidy()) << c.text << " call " << i;
    }
    EXPECT_EQ(text.text(), "") << c.text;
  }
  // A line of HIGH 0 takes nothing: the words stay, leading whitespace goes.
  Bounded text(20, "  word");
  char line[2] = {'x', '#'};
  EXPECT_EQ(LineWrapper(0, line, text.high, text.data()), 0);
  EXPECT_EQ(text.text(), "word");
  EXPECT_EQ(LineWrapper(0, line, text.high, text.data()), 0);
  EXPECT_EQ(text.text(), "word");
  EXPECT_EQ(line[0], '\0');
  EXPECT_EQ(line[1], '#');
  EXPECT_EQ(LineWrapper(0, nullptr, text.high, text.data()), 0);
  EXPECT_EQ(text.text(), "word");
  EXPECT_EQ(LineWrapper(0, line, 5, nullptr), 0);
}

TEST(TextUtilities, DoubleAmpersands) {
  struct Case {
    uint16_t high;
    const char* in;
    const char* out;
  };
  const Case cases[] = {
      {20, "Save & Exit", "Save && Exit"}, {10, "&&", "&&&&"},  {2, "a&", "a&"},
      {2, "&x", "&&"},                     {3, "abc&", "abc&"}, {6, "a&b&c", "a&&b&&"},
      {20, "", ""},                        {20, "none", "none"},
  };
  for (const Case& c : cases) {
    Bounded b(c.high, c.in, '&');  // ampersands past the text are not part of it
    FixPrefix(b.high, b.data());
    EXPECT_EQ(b.text(), c.out) << c.in;
    EXPECT_TRUE(b.tidy() || std::strlen(c.in) > c.high) << c.in;
  }
  FixPrefix(5, nullptr);
}

}  // namespace
