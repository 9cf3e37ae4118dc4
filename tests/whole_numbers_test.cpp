// Whole numbers to text and back: positions, done flags, limits, cutting.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "corvalib/text.h"

namespace {

// Every value at width 0 is written and read back below; these are the
// fields, cuts and positions.
TEST(WholeNumbers, Writing) {
  struct Case {
    int value;
    bool as_int;  // IntToString, else CardToString
    uint16_t width, high, start;
    const char* expect;  // the bytes from position 0 up to the new position
    uint16_t position;
    bool done, nul;  // nul: a NUL follows the text
  };
  const Case cases[] = {
      {42, false, 5, 20, 0, "   42", 5, true, true},
      {42, false, 0, 20, 0, "42", 2, true, true},
      {0, false, 0, 20, 0, "0", 1, true, true},
      {65535, false, 0, 20, 0, "65535", 5, true, true},
      {-7, true, 4, 20, 0, "  -7", 4, true, true},
      {32767, true, 2, 20, 0, "32767", 5, true, true},
      {12345, false, 0, 2, 0, "123", 3, false, false},
      {12, false, 0, 1, 0, "12", 2, true, false},   // fills the array: no NUL
      {9, false, 3, 5, 3, "xxx  9", 6, true, false},
      {9, false, 4, 5, 3, "xxx   ", 6, false, false},  // padding fits, digit dropped
      {5, false, 0, 4, 9, "xxxxxxxxx", 9, false, false},  // position already past HIGH
  };
  for (const Case& c : cases) {
    char buf[32];
    std::memset(buf, 'x', sizeof buf);
    uint16_t pos = c.start;
    uint8_t done = 7;
    if (c.as_int) {
      IntToString(static_cast<int16_t>(c.value), c.width, c.high, buf, &pos, &done);
    } else {
      CardToString(static_cast<uint16_t>(c.value), c.width, c.high, buf, &pos, &done);
    }
    EXPECT_EQ(pos, c.position) << c.expect;
    EXPECT_EQ(done, c.done ? 1 : 0) << c.expect;
    EXPECT_EQ(std::string(buf, pos), c.expect);
    EXPECT_EQ(buf[pos] == '\0', c.nul) << c.expect;
    EXPECT_EQ(buf[c.high + 1], 'x') << c.expect << ": written past HIGH";
  }
}

// Several items one after another in one array, as callers build a line.
TEST(WholeNumbers, RunningPosition) {
  char line[16];
  uint16_t pos = 0;
  uint8_t done = 0;
  CardToString(12, 3, 15, line, &pos, &done);
  IntToString(-4, 3, 15, line, &pos, &done);
  EXPECT_STREQ(line, " 12 -4");
  uint16_t read = 0, value = 0;
  StringToCard(15, line, &read, &value, &done);
  EXPECT_EQ(done, 0);  // a blank first
  read = 1;
  StringToCard(15, line, &read, &value, &done);
  EXPECT_EQ(value, 12);
  EXPECT_EQ(read, 3);
  read = 4;
  int16_t i = 0;
  StringToInt(15, line, &read, &i, &done);
  EXPECT_EQ(i, -4);
  EXPECT_EQ(done, 1);
}

TEST(WholeNumbers, Reading) {
  enum Kind { kCard, kInt, kULong, kLong, kUChar, kMyCard };
  struct Case {
    Kind kind;
    const char* text;
    long long value;  // expected value (the variable starts at 99 for the signed kinds)
    bool done;
    uint16_t position;
  };
  const Case cases[] = {
      {kCard, "123abc", 123, true, 3},
      {kCard, "abc", 0, false, 0},
      {kCard, "65536", 6553, false, 4},
      {kCard, "", 0, false, 0},
      {kCard, "007", 7, true, 3},
      {kInt, "32768", 99, false, 5},
      {kInt, "+5", 5, true, 2},
      {kInt, "-", 99, false, 1},
      {kInt, "--1", 99, false, 1},
      {kInt, "-99999", 99, false, 5},
      {kULong, "4294967294", 4294967294LL, true, 10},
      {kULong, "4294967295", 429496729, false, 9},
      {kULong, "99999999999", 999999999, false, 9},
      {kLong, "2147483641", 2147483641, true, 10},
      {kLong, "2147483642", 99, false, 10},
      {kLong, "-2147483642", -2147483642LL, true, 11},
      {kLong, "-2147483643", 99, false, 11},
      {kLong, "3000000000", 99, false, 10},
      {kUChar, "254", 254, true, 3},
      {kUChar, "255", 25, false, 2},
      {kMyCard, "   17", 17, true, 0},
      {kMyCard, "", 0, true, 0},
      {kMyCard, "70000", 7000, true, 0},
      {kMyCard, "  x", 0, true, 0},
  };
  for (const Case& c : cases) {
    char buf[24] = {};
    std::strcpy(buf, c.text);
    uint16_t pos = 0;
    uint8_t done = 9;
    long long got = 0;
    switch (c.kind) {
      case kCard: { uint16_t v = 1; StringToCard(23, buf, &pos, &v, &done); got = v; break; }
      case kInt: { int16_t v = 99; StringToInt(23, buf, &pos, &v, &done); got = v; break; }
      case kULong: { uint32_t v = 1; StringToUnsignedLong(23, buf, &pos, &v, &done); got = v; break; }
      case kLong: { int32_t v = 99; StringToLong(23, buf, &pos, &v, &done); got = v; break; }
      case kUChar: { uint8_t v = 1; StringToUnsignedChar(23, buf, &pos, &v, &done); got = v; break; }
      case kMyCard: { uint16_t v = 1; MyStringToCard(23, buf, &v); got = v; done = 1; break; }
    }
    EXPECT_EQ(got, c.value) << c.text;
    EXPECT_EQ(done, c.done ? 1 : 0) << c.text;
    EXPECT_EQ(pos, c.position) << c.text;
  }
}

// Every CARDINAL and every INTEGER, to text and back, in fields of 0 and 7.
TEST(WholeNumbers, EveryValueRoundTrips) {
  char buf[8];
  for (unsigned v = 0; v <= 65535; ++v) {
    for (uint16_t width : {0, 7}) {
      uint16_t pos = 0, back = 0, read = 0;
      uint8_t done = 0;
      CardToString(static_cast<uint16_t>(v), width, 7, buf, &pos, &done);
      ASSERT_EQ(done, 1) << v;
      while (buf[read] == ' ') ++read;
      StringToCard(7, buf, &read, &back, &done);
      ASSERT_TRUE(done == 1 && back == v && read == pos) << v;
    }
  }
  for (int v = -32768; v <= 32767; ++v) {
    uint16_t pos = 0, read = 0;
    int16_t back = 0;
    uint8_t done = 0;
    IntToString(static_cast<int16_t>(v), 0, 7, buf, &pos, &done);
    ASSERT_EQ(done, 1) << v;
    ASSERT_EQ(std::to_string(v), buf);
    StringToInt(7, buf, &read, &back, &done);
    ASSERT_TRUE(done == 1 && back == v && read == pos) << v;
  }
}

// Arrays of exactly high + 1 bytes on the heap, so ASan sees any byte past HIGH.
TEST(WholeNumbers, NeverPastHigh) {
  for (uint16_t high : {0, 1, 4, 5}) {
    for (uint16_t width : {0, 3, 9, 65535}) {
      std::vector<char> exact(high + 1u, 'x');
      uint16_t pos = 0;
      uint8_t done = 1;
      IntToString(-12345, width, high, exact.data(), &pos, &done);
      EXPECT_LE(pos, high + 1u);
      EXPECT_EQ(done, std::max<unsigned>(6, width) <= high + 1u ? 1 : 0);
      uint16_t v = 0, at = 0;
      StringToCard(high, exact.data(), &at, &v, &done);  // no terminator may be there
    }
  }
  std::vector<char> big(65536, '1');
  uint16_t pos = 0, v = 0;
  uint8_t done = 0;
  big[65530] = '4';
  pos = 65530;
  StringToCard(65535, big.data(), &pos, &v, &done);
  EXPECT_EQ(v, 41111);
  EXPECT_EQ(pos, 65535);  // the last byte is not read with HIGH 65535
  pos = 65533;
  CardToString(777, 0, 65535, big.data(), &pos, &done);
  EXPECT_EQ(done, 0);
  EXPECT_EQ(pos, 65535);
  EXPECT_EQ(big[65535], '\0');
}

TEST(WholeNumbers, NullArguments) {
  uint16_t pos = 0, v = 5;
  uint8_t done = 1;
  CardToString(1, 0, 10, nullptr, &pos, &done);
  EXPECT_EQ(done, 0);
  char buf[4] = "12";
  done = 1;
  CardToString(1, 0, 3, buf, nullptr, &done);
  EXPECT_EQ(done, 0);
  CardToString(1, 0, 3, buf, &pos, nullptr);
  EXPECT_STREQ(buf, "1");
  done = 1;
  StringToCard(10, nullptr, &pos, &v, &done);
  EXPECT_EQ(v, 0);
  EXPECT_EQ(done, 0);
  StringToLong(3, buf, &pos, nullptr, &done);
  MyStringToCard(3, nullptr, &v);
  EXPECT_EQ(v, 0);
  MyStringToCard(3, buf, nullptr);
}

}  // namespace
