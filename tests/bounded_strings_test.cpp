// The bounded-string family: cutting, NUL-filling, and the bad-input answers.
#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "corvalib/frame.h"
#include "corvalib/text.h"
#include "text/bstr.h"
#include "text/window_search.h"

namespace {

// An array of high + 1 bytes with a guard byte after it, pre-filled with 'Z'
// so a writer that does not NUL-fill to the end shows.
struct Arr {
  char b[300];
  uint16_t high;
  Arr(uint16_t h, const char* text) : high(h) {
    std::memset(b, 'Z', sizeof b);
    std::memset(b, 0, h + 1u);
    std::memcpy(b, text, std::strlen(text) + 1 > h + 1u ? h + 1u : std::strlen(text) + 1);
  }
  std::string text() const { return std::string(b, Length(high, b)); }
  bool filled() const {
    for (std::size_t i = Length(high, b); i <= high; ++i)
      if (b[i] != 0) return false;
    return b[high + 1] == 'Z';
  }
};

TEST(BoundedStrings, WritersCutAndFill) {
  struct Case {
    const char* what;
    uint16_t high;
    const char* start;
    void (*op)(Arr&);
    const char* expect;
  };
  const Case cases[] = {
      {"assign cuts", 3, "", [](Arr& a) { Assign(6, "abcdef", a.high, a.b); }, "abc"},
      {"insert tail lost", 4, "abcd", [](Arr& a) { Insert(2, "XY", a.high, a.b, 1); }, "aXYb"},
      {"insert inserted cut", 4, "abc", [](Arr& a) { Insert(4, "WXYZ", a.high, a.b, 2); }, "abWX"},
      {"insert past end", 9, "abc", [](Arr& a) { Insert(2, "XY", a.high, a.b, 60); }, "abcXY"},
      {"delete long", 9, "abcdef", [](Arr& a) { Delete(a.high, a.b, 2, 10); }, "ab"},
      {"delete past end", 9, "abcdef", [](Arr& a) { Delete(a.high, a.b, 7, 1); }, "abcdef"},
      {"delete middle", 9, "abcdef", [](Arr& a) { Delete(a.high, a.b, 1, 2); }, "adef"},
      {"copy", 20, "", [](Arr& a) { Copy(10, "abcdefghij", 3, 4, a.high, a.b); }, "defg"},
      {"copy small dest", 4, "", [](Arr& a) { Copy(10, "abcdefghij", 3, 4, a.high, a.b); }, "d"},
      {"copy past", 9, "x", [](Arr& a) { Copy(3, "abc", 5, 4, a.high, a.b); }, ""},
      {"concat", 5, "", [](Arr& a) { Concat(3, "abc", 3, "def", a.high, a.b); }, "abcde"},
      {"justify left", 9, "ab", [](Arr& a) { Justify(a.high, a.b, 5, 0); }, "ab   "},
      {"justify right", 9, "ab", [](Arr& a) { Justify(a.high, a.b, 5, 2); }, "   ab"},
      {"justify centre", 9, "ab", [](Arr& a) { Justify(a.high, a.b, 5, 1); }, " ab  "},
      {"justify cuts", 9, "abcdefg", [](Arr& a) { Justify(a.high, a.b, 3, 1); }, "abc"},
      {"justify other mode", 9, "ab", [](Arr& a) { Justify(a.high, a.b, 5, 7); }, "ab"},
      {"justify wide", 4, "ab", [](Arr& a) { Justify(a.high, a.b, 60, 2); }, "  ab"},
      {"trim left", 9, "  ab", [](Arr& a) { TrimLeft(a.high, a.b); }, "ab"},
      {"trim right tabs stay", 9, "ab \t ", [](Arr& a) { TrimRight(a.high, a.b); }, "ab \t"},
      {"trim full array", 3, "  ab", [](Arr& a) { Trim(a.high, a.b); }, "a"},
      {"upper", 9, "abc\xe9", [](Arr& a) { UpperCase(a.high, a.b); }, "ABC\xc9"},
      {"find and replace", 9, "hello", [](Arr& a) { FindAndReplace(a.high, a.b, 1, "l", 2, "LL"); }, "heLLlo"},
      {"replace field", 9, "abcdef", [](Arr& a) { Replace(a.high, a.b, 1, 1, "X", 3); }, "a  Xef"},
      {"card", 20, "Record ### of ###", [](Arr& a) { InsertCard(a.high, a.b, 12); }, "Record 12 of ###"},
      {"card cut", 6, "ab###", [](Arr& a) { InsertCard(a.high, a.b, 65535); }, "ab6553"},
      {"string", 20, "to $$$!", [](Arr& a) { InsertString(a.high, a.b, 3, "you"); }, "to you!"},
      {"replace string", 20, "is %$% due", [](Arr& a) { ReplaceString(a.high, a.b, "%$%", "1.00"); }, "is 1.00 due"},
      {"append justify", 9, "ab", [](Arr& a) { AppendWithJustify(a.high, a.b, 2, "xy", 3, 2); }, "ab     xy"},
      {"append own text", 9, "abc", [](Arr& a) { Append(a.high, a.b, 2, a.b); }, "abcabc"},
      {"null source", 9, "abc", [](Arr& a) { Assign(5, nullptr, a.high, a.b); }, ""},
  };
  for (const Case& c : cases) {
    Arr a(c.high, c.start);
    c.op(a);
    EXPECT_EQ(a.text(), c.expect) << c.what;
    EXPECT_TRUE(a.filled()) << c.what << ": not NUL-filled to HIGH, or written past it";
  }
}

TEST(BoundedStrings, ReadersAndResults) {
  EXPECT_EQ(Length(4, "abcdeZZ"), 5);
  EXPECT_EQ(Length(10, nullptr), 0);
  EXPECT_EQ(Pos(2, "cd", 9, "abcdef"), 2);
  EXPECT_EQ(Pos(2, "xy", 9, "abcdef"), 10);
  EXPECT_EQ(Pos(0, "", 9, "abc"), 3);
  EXPECT_EQ(Pos(0, "", 0, ""), 0);
  EXPECT_EQ(Pos(2, "xy", 65535, "abc"), 65535);
  EXPECT_EQ(CompareStr(3, "abc", 3, "abd"), -1);
  EXPECT_EQ(CompareStr(3, "abc", 2, "ab"), 1);
  EXPECT_EQ(CompareStr(0, "", 0, ""), 0);
  EXPECT_EQ(CompareStr(3, "ab\x80", 2, "ab"), -1);
  EXPECT_EQ(CompareStr(3, nullptr, 2, "ab"), -1);
  char hello[9] = "hello";
  EXPECT_EQ(FindString(8, hello, 2, "lo"), 3);
  EXPECT_STREQ(hello, "hel");
  EXPECT_EQ(FindString(8, hello, 2, "zz"), -1);
  EXPECT_STREQ(hello, "hel");
}

TEST(BoundedStrings, SizedCopies) {
  char d[8];
  std::memset(d, 'Z', sizeof d);
  EXPECT_EQ(sstrcpy(d, "abcdef", 4), d);
  EXPECT_STREQ(d, "abc");
  EXPECT_EQ(d[4], 'Z');
  sstrcpy(d, "q", 0);
  EXPECT_STREQ(d, "abc");
  EXPECT_EQ(sstrcat(d, "xyz", 6), d + 3);
  EXPECT_STREQ(d, "abcxy");
  char full[3] = {'a', 'b', 'c'};
  EXPECT_EQ(sstrcat(full, "x", 3), full + 3);
  EXPECT_EQ(full[2], 'c');

  char buf[5] = {};
  char* at = buf;
  uint32_t room = 4;
  EXPECT_EQ(RunningStringCopy("abc", &at, &room), 3);
  EXPECT_EQ(RunningStringCopy("def", &at, &room), 1);
  EXPECT_EQ(room, 0u);
  EXPECT_EQ(std::string(buf, 4), "abcd");

  char* copy = lstrdup("ledger");
  ASSERT_NE(copy, nullptr);
  EXPECT_STREQ(copy, "ledger");
  _RealDeAllocate(copy);
  EXPECT_EQ(lstrdup(nullptr), nullptr);
}

}  // namespace

namespace {

// Arrays of exactly high + 1 bytes on the heap, so ASan sees any byte past HIGH.
struct Exact {
  std::vector<char> bytes;
  explicit Exact(std::size_t n, char fill) : bytes(n, fill) {}
  char* data() { return bytes.data(); }
};

TEST(BoundedStrings, ExtremeHighsAndMissingTerminators) {
  // HIGH 0: room for the terminator only.
  Exact zero(1, 'q');
  Assign(3, "abc", 0, zero.data());
  EXPECT_EQ(zero.bytes[0], 0);
  zero.bytes[0] = 'q';
  EXPECT_EQ(Length(0, zero.data()), 1);
  TrimLeft(0, zero.data());
  EXPECT_EQ(zero.bytes[0], 0);
  Insert(3, "abc", 0, zero.data(), 0);
  Justify(0, zero.data(), 5, 2);
  AppendWithJustify(0, zero.data(), 3, "abc", 3, 2);
  EXPECT_EQ(zero.bytes[0], 0);

  // A text that fills its whole array, with no NUL anywhere.
  Exact full(5, 'x');
  EXPECT_EQ(Length(4, full.data()), 5);
  EXPECT_EQ(Pos(1, "y", 4, full.data()), 5);
  EXPECT_EQ(CompareStr(4, full.data(), 4, full.data()), 0);
  AppendWithJustify(4, full.data(), 3, "abc", 3, 2);
  EXPECT_EQ(std::string(full.data(), 5), "xxxxx");
  Append(4, full.data(), 1, "y");
  EXPECT_EQ(Length(4, full.data()), 4);
  Exact upper(3, 'a');
  UpperCase(2, upper.data());
  EXPECT_EQ(std::string(upper.data(), 3), std::string("AA\0", 3));

  // HIGH 65535: the largest array the interface can name.
  Exact big(65536, 'b');
  big.bytes[65535] = 0;
  EXPECT_EQ(Length(65535, big.data()), 65535);
  Insert(2, "zz", 65535, big.data(), 65535);
  EXPECT_EQ(big.bytes[65535], 0);
  EXPECT_EQ(big.bytes[65534], 'b');  // no room: the inserted text is lost
  Delete(65535, big.data(), 65535, 65535);
  Justify(65535, big.data(), 65535, 1);
  EXPECT_EQ(big.bytes[65535], 0);

  // Positions and counts past the end.
  char t[10] = "abc";
  Delete(9, t, 3, 65535);
  EXPECT_STREQ(t, "abc");
  Copy(3, "abc", 65535, 65535, 9, t);
  EXPECT_STREQ(t, "");
  Replace(9, t, 65535, 3, "abc", 65535);
  EXPECT_EQ(Length(9, t), 9);
  EXPECT_EQ(t[9], 0);
}

TEST(BoundedStrings, NullArraysAreNeverWritten) {
  Assign(3, "abc", 9, nullptr);
  Insert(3, "abc", 9, nullptr, 0);
  Delete(9, nullptr, 0, 1);
  Justify(9, nullptr, 3, 0);
  Trim(9, nullptr);
  UpperCase(9, nullptr);
  InsertCard(9, nullptr, 1);
  ReplaceString(9, nullptr, "a", "b");
  EXPECT_EQ(FindString(9, nullptr, 1, "a"), -1);
  EXPECT_EQ(sstrcpy(nullptr, "a", 4), nullptr);
  char* none = nullptr;
  uint32_t room = 5;
  EXPECT_EQ(RunningStringCopy("abc", &none, &room), 0);
  EXPECT_EQ(room, 5u);
  char t[6] = "ab";
  ReplaceString(5, t, nullptr, "x");
  Append(5, t, 5, nullptr);
  EXPECT_STREQ(t, "ab");
}

}  // namespace

// The searches and copies work sixteen bytes at a time; these cases put the
// pattern, the terminator and the cut on either side of those chunk edges.
TEST(BoundedStrings, ChunkEdges) {
  struct Case {
    std::string text;       // written into an array of 81 bytes, rest 'Q' after the NUL
    std::string pattern;
    std::uint16_t expected; // 81 for absent
  };
  const std::string a15(15, 'a'), a16(16, 'a'), a31(31, 'a'), a70(70, 'a');
  const std::vector<Case> cases = {
      {a15 + "xyz", "xyz", 15},          // straddles the first edge
      {a16 + "xyz", "xyz", 16},          // starts a chunk
      {a31 + "xy", "xy", 31},            // last candidate of the second chunk
      {a70 + "xyzw", "xyzw", 70},        // found in the scalar tail
      {"abc", "abcd", 81},               // pattern longer than the text
      {a15 + "x", "xy", 81},             // text ends one short of a match
      {"xyz", "xyz", 0},                 // at the start
      {a16 + "xxy", "xy", 17},           // a false start just before the match
      {a31 + "xzy", "xy", 81},           // first and last characters, wrong middle
  };
  for (const auto& c : cases) {
    char array[81];
    std::memset(array, 'Q', sizeof array);
    std::memcpy(array, c.text.c_str(), c.text.size() + 1);
    // Text after the terminator must never be found.
    EXPECT_EQ(Pos(static_cast<std::uint16_t>(c.pattern.size()), c.pattern.c_str(), 80, array),
              c.expected)
        << c.text << " / " << c.pattern;
  }
  // A match that lies after the NUL in the same chunk, and one that would run past it.
  char array[81];
  std::memset(array, 'Q', sizeof array);
  std::memcpy(array, "ab\0xy", 5);
  EXPECT_EQ(Pos(1, "xy", 80, array), 81);
  std::memcpy(array, "ax\0y", 4);
  EXPECT_EQ(Pos(1, "xy", 80, array), 81);
  // A whole array without NUL: the last possible position counts.
  std::memset(array, 'a', sizeof array);
  array[79] = 'x';
  array[80] = 'y';
  EXPECT_EQ(Pos(1, "xy", 80, array), 79);

  // Copies whose source overlaps the destination, at every offset around a chunk.
  for (std::size_t shift = 1; shift <= 33; ++shift) {
    char buffer[120];
    for (std::size_t i = 0; i < sizeof buffer; ++i) buffer[i] = static_cast<char>('A' + i % 26);
    buffer[100] = 0;
    const std::string expected(buffer + shift, std::min<std::size_t>(100 - shift, 40));
    Assign(99, buffer + shift, 40, buffer);
    EXPECT_EQ(std::string(buffer), expected) << shift;
    EXPECT_EQ(buffer[40], 0);
  }
  // Concat cut exactly at 15, 16 and 17 bytes, with a source inside the destination.
  for (std::uint16_t high : {15, 16, 17}) {
    char dest[40];
    std::memset(dest, 'Z', sizeof dest);
    std::memcpy(dest, "0123456789abcdef0123", 21);
    Concat(30, dest + 4, 30, "XYZXYZXYZ", high, dest);
    const std::string whole = std::string("456789abcdef0123") + "XYZXYZXYZ";
    EXPECT_EQ(std::string(dest), whole.substr(0, high)) << high;
    for (std::size_t i = std::strlen(dest); i <= high; ++i) EXPECT_EQ(dest[i], 0);
    EXPECT_EQ(dest[high + 1], "0123456789abcdef0123"[high + 1]);  // untouched past HIGH
  }
}


namespace {
// Every position of a two- and a five-character pattern in arrays whose sizes
// straddle the 16-, 32- and 64-byte windows, with the text ending early or not.
TEST(BoundedStrings, SearchFindsEveryPosition) {
  for (std::uint16_t high : {1, 15, 16, 17, 31, 33, 47, 63, 64, 65, 80, 129}) {
    for (std::string pattern : {"xy", "xyzzy"}) {
      for (bool terminated : {false, true}) {
        const std::size_t length = terminated ? high / 2u + 1 : high + 1u;
        for (std::size_t at = 0; at + pattern.size() <= length; ++at) {
          std::vector<char> array(high + 1u, 'a');
          if (terminated) array[length] = '\0', std::fill(array.begin() + length + 1, array.end(), 'x');
          std::copy(pattern.begin(), pattern.end(), array.begin() + at);
          EXPECT_EQ(Pos(static_cast<std::uint16_t>(pattern.size() - 1), pattern.c_str(), high,
                        array.data()),
                    at)
              << high << " " << pattern << " " << at;
        }
        // Absent: the pattern lies just past the end of the text.
        std::vector<char> array(high + 1u + pattern.size(), 'a');
        std::copy(pattern.begin(), pattern.end(), array.begin() + length - 1);
        if (terminated) array[length] = '\0';
        EXPECT_EQ(Pos(static_cast<std::uint16_t>(pattern.size() - 1), pattern.c_str(), high,
                      array.data()),
                  high + 1)
            << high << " " << pattern;
      }
    }
  }
}
}  // namespace

// Small arrays at every offset in two aligned 64-byte blocks, inside one or
// straddling an edge: bytes around the array and after the NUL must never match.
TEST(BoundedStrings, SmallArraysAtEveryOffset) {
  struct Case {
    const char* bytes;  // six bytes of the array (HIGH 5)
    const char* pattern;
    std::uint16_t expected;
  };
  const Case cases[] = {
      {"abxy\0\0", "xy", 2}, {"ab\0xyQ", "xy", 6}, {"abcdxy", "xy", 4},
      {"abcdex", "xy", 6},   {"xyabcd", "x", 0},   {"ab\0\0\0\0", "", 2},
      {"abcdef", "x", 6},    {"abcdef", "y", 6},   {"abcdey", "y", 5},
  };
  // Pos uses the widest search the processor has; the narrower ones are
  // called directly, so each block width meets every offset.
  std::vector<std::pair<const char*, corva::text::ArraySearch>> widths = {
      {"16", corva::text::search_array_sse2}};
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx2")) widths.emplace_back("32", corva::text::search_array_avx2);
  if (__builtin_cpu_supports("avx512bw"))
    widths.emplace_back("64", corva::text::search_array_avx512);
  alignas(64) char buffer[144];
  for (std::size_t offset = 0; offset < 136; ++offset) {
    for (const auto& c : cases) {
      std::memset(buffer, 'x', sizeof buffer);
      buffer[offset + 6] = 'y';  // a match that would run past the array
      std::memcpy(buffer + offset, c.bytes, 6);
      const std::size_t plength = std::strlen(c.pattern);
      const auto phigh = static_cast<std::uint16_t>(std::max<std::size_t>(plength, 1) - 1);
      EXPECT_EQ(Pos(phigh, c.pattern, 5, buffer + offset), c.expected) << offset << " " << c.pattern;
      if (plength == 0) continue;
      for (const auto& [width, search] : widths) {
        const std::size_t at = search(buffer + offset, 6, c.pattern, plength);
        EXPECT_EQ(at == std::string_view::npos ? 6 : at, c.expected)
            << width << "-byte blocks, offset " << offset << " " << c.pattern;
      }
    }
  }
}

// Arrays up to 128 bytes are filled from whole loads of their sources. Each
// size class and its edges meet sources that end just before an unreadable
// page or a little way from it, sources whose array is shorter than the
// destination, and sources inside the destination, for Assign and Concat.
TEST(BoundedStrings, ShortCopiesAtPageEndsAndOverlaps) {
  const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  char* region = static_cast<char*>(
      mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
  ASSERT_NE(region, MAP_FAILED);
  ASSERT_EQ(mprotect(region + page, page, PROT_NONE), 0);
  std::string letters;
  for (int i = 0; i < 140; ++i) letters += static_cast<char>('A' + i % 26);
  std::vector<std::uint16_t> highs;
  for (std::uint16_t h = 0; h <= 17; ++h) highs.push_back(h);
  for (std::uint16_t h : {31, 32, 62, 63, 64, 65, 80, 126, 127, 128, 129}) highs.push_back(h);
  for (const std::uint16_t high : highs) {
    for (std::size_t length : {std::size_t{0}, std::size_t{1}, std::size_t{high}, std::size_t{135}}) {
      for (std::uint16_t shigh : {0, high / 2, 200}) {
        for (std::size_t gap : {0, 16, 70}) {
          // The source's text and the byte after it (its NUL, or a foreign
          // byte after a full array) end gap bytes before the guard page.
          const std::size_t n = std::min<std::size_t>(length, std::size_t{shigh} + 1);
          char* source = region + page - n - 1 - gap;
          std::memcpy(source, letters.data(), n);
          source[n] = n <= shigh ? '\0' : '#';
          char dest[140];
          std::memset(dest, 'z', sizeof dest);
          Assign(shigh, source, high, dest);
          const std::string expected = letters.substr(0, std::min<std::size_t>(n, high));
          const std::string where = std::to_string(high) + " " + std::to_string(length) + " " +
                                    std::to_string(shigh) + " " + std::to_string(gap);
          EXPECT_EQ(std::string(dest, expected.size()), expected) << where;
          for (std::size_t i = expected.size(); i <= high; ++i) EXPECT_EQ(dest[i], 0) << where;
          EXPECT_EQ(dest[high + 1], 'z') << where;  // nothing past the array
          // The same source twice, one after the other.
          std::memset(dest, 'z', sizeof dest);
          Concat(shigh, source, shigh, source, high, dest);
          const std::string twice =
              expected + letters.substr(0, std::min(n, high - expected.size()));
          EXPECT_EQ(std::string(dest, twice.size()), twice) << where;
          for (std::size_t i = twice.size(); i <= high; ++i) EXPECT_EQ(dest[i], 0) << where;
          EXPECT_EQ(dest[high + 1], 'z') << where;
        }
      }
    }
    // The source is the array's own tail.
    char array[140];
    std::memcpy(array, letters.data(), 135);
    array[135] = '\0';
    const std::string tail(array + 1, std::min<std::size_t>(134, high));
    Assign(200, array + 1, high, array);
    EXPECT_EQ(std::string(array, tail.size()), tail) << high;
    EXPECT_EQ(array[high], 0) << high;
    // Both parts of a Concat from inside the array.
    std::memcpy(array, letters.data(), 135);
    array[135] = '\0';
    const std::string head(array + 2, std::min<std::size_t>(3, high));
    const std::string joined = head + std::string(array + 1, std::min<std::size_t>(134, high - head.size()));
    Concat(2, array + 2, 200, array + 1, high, array);
    EXPECT_EQ(std::string(array, joined.size()), joined) << high;
    EXPECT_EQ(array[high], 0) << high;
  }
  munmap(region, 2 * page);
}

// Long fills go through the widest stores the processor has: every length
// and offset zeroes exactly its bytes.
TEST(BoundedStrings, LongFillsTouchExactlyTheirBytes) {
  alignas(64) char area[400];
  for (std::size_t offset = 0; offset < 40; offset += 3) {
    for (std::size_t n = 64; n <= 300; n += 7) {
      std::memset(area, 'q', sizeof area);
      corva::text::zero_bytes(area + offset, n);
      const std::string expected = std::string(offset, 'q') + std::string(n, '\0') +
                                   std::string(sizeof area - offset - n, 'q');
      EXPECT_EQ(std::string(area, sizeof area), expected) << offset << " " << n;
    }
  }
}
