// Amounts, quantities and reals: rounding, zero tests, formatting, parsing and
// the cheque words, under the regional settings they depend on.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "corvalib/numbers.h"
#include "frame/settings.h"

namespace {

using corva::frame::Settings;

// Each test starts from the built-in settings and leaves them as it found them.
class Numbers : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = corva::frame::settings();
    corva::frame::settings() = Settings{};
  }
  void TearDown() override { corva::frame::settings() = saved_; }
  // Currency digits with their derived scale and half unit, as a refresh sets them.
  static void digits(unsigned n) {
    Settings& s = corva::frame::settings();
    s.currency_digits = static_cast<uint16_t>(n);
    s.currency_scale = 1.0;
    for (unsigned i = 0; i < n; ++i) s.currency_scale *= 10.0;
    s.currency_half_unit = 1.0 / s.currency_scale / 2.0;
  }
  static void symbols(char decimal, char thousands) {
    corva::frame::settings().decimal_point = decimal;
    corva::frame::settings().thousands_separator = thousands;
  }

 private:
  Settings saved_;
};

TEST_F(Numbers, Rounding) {
  struct Case {
    unsigned digits;
    double x, expect;
  };
  const Case cases[] = {
      {2, 1.005, 1.01},    {2, 2.675, 2.68},  {2, -2.675, -2.68}, {2, 0.004999, 0.0},
      {2, 0.005, 0.01},    {2, 1234.5678, 1234.57}, {0, 2.5, 3.0}, {0, -2.4, -2.0},
      {3, 1.0005, 1.001},  {2, 1e15, 1e15},   {2, 45035996273704.96, 45035996273704.96},
  };
  for (const Case& c : cases) {
    digits(c.digits);
    EXPECT_EQ(Round(c.x), c.expect) << c.digits << " digits, " << c.x;
  }
  digits(2);
  EXPECT_TRUE(std::signbit(Round(-0.004)));
  EXPECT_EQ(Round(-0.004), 0.0);
  EXPECT_EQ(Round(std::numeric_limits<double>::max()), std::numeric_limits<double>::max());
  EXPECT_TRUE(std::isinf(Round(-INFINITY)));
  EXPECT_TRUE(std::isnan(Round(NAN)));
  EXPECT_EQ(Round5(1.000005), 1.00001);
  EXPECT_EQ(Round5(-0.123454), -0.12345);
  EXPECT_EQ(Round5(2.0000049999), 2.0);
}

TEST_F(Numbers, ZeroTests) {
  EXPECT_FALSE(IsZero(0.005));
  EXPECT_TRUE(IsZero(0.00499));
  EXPECT_TRUE(IsZero(-0.00499));
  digits(0);
  EXPECT_TRUE(IsZero(0.4999));
  EXPECT_FALSE(IsZero(0.5));
  EXPECT_TRUE(IsZero5(0.004));
  EXPECT_FALSE(IsZero5(0.005));
  corva::frame::settings().real_precision = 5;
  EXPECT_TRUE(IsZero5(0.0000049));
  EXPECT_FALSE(IsZero5(0.000005));
  EXPECT_TRUE(IsZero7(4.9e-8));
  EXPECT_FALSE(IsZero7(5e-8));
  EXPECT_FALSE(IsZero(NAN));
}

TEST_F(Numbers, DivisionAndBytes) {
  EXPECT_EQ(SafeDivide(1.0, 0.0), 0.0);
  EXPECT_EQ(SafeDivide(0.0, 0.0), 0.0);
  EXPECT_EQ(SafeDivide(-0.0, 3.0), 0.0);
  EXPECT_EQ(SafeDivide(1.0, -0.0), 0.0);
  EXPECT_EQ(SafeDivide(7.0, 2.0), 3.5);
  double d = -1.0;
  ZeroReal(&d);
  EXPECT_FALSE(std::signbit(d));
  EXPECT_EQ(d, 0.0);
  ZeroReal(nullptr);
  EXPECT_EQ(Equal(3, "abc", 3, "abc"), 1);
  EXPECT_EQ(Equal(3, "abc", 3, "abd"), 0);
  EXPECT_EQ(Equal(3, "abc", 4, "abc"), 0);
  EXPECT_EQ(Equal(0, nullptr, 0, nullptr), 1);
  EXPECT_EQ(Equal(2, nullptr, 2, "ab"), 0);
  EXPECT_EQ(IsPseudoNumber(0, ""), 0);
  EXPECT_EQ(IsPseudoNumber(0, " "), 1);
  EXPECT_EQ(IsPseudoNumber(5, nullptr), 0);
}

std::string blanks(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

// A destination of exactly high + 1 bytes on the heap, pre-filled with 'Z', so
// ASan sees a write past HIGH and a missing NUL fill shows.
struct Dest {
  std::vector<char> b;
  uint16_t high;
  explicit Dest(uint16_t h, const char* start = "") : b(h + 1u, 'Z'), high(h) {
    std::strncpy(b.data(), start, h);
    b[std::strlen(start) < h ? std::strlen(start) : h] = '\0';
  }
  char* data() { return b.data(); }
  std::string text() const { return std::string(b.data(), strnlen(b.data(), b.size())); }
};

TEST_F(Numbers, Formatting) {
  enum Op { kDollars, kReal, kAppend, kAppendNoComma };
  struct Case {
    Op op;
    char decimal, thousands;
    double x;
    uint16_t high;
    char style;         // kDollars, kAppend
    uint16_t decimals;  // kReal
    uint16_t width;     // kReal, kAppend
    std::string expect;
  };
  const Case cases[] = {
      {kDollars, '.', ',', 1234.5, 39, '-', 0, 0, blanks(8) + "1,234.50"},
      {kDollars, '.', ',', -1234.5, 39, '-', 0, 0, blanks(7) + "-1,234.50"},
      {kDollars, '.', ',', -1234.5, 39, '<', 0, 0, blanks(7) + "<1,234.50>"},
      {kDollars, '.', ',', 1234.5, 39, '<', 0, 0, blanks(8) + "1,234.50 "},
      {kDollars, '.', ',', -1234.5, 39, ' ', 0, 0, blanks(8) + "1,234.50"},
      {kDollars, '.', ',', 1234567.891, 39, '-', 0, 0, blanks(4) + "1,234,567.89"},
      {kDollars, '.', ',', -0.001, 39, '-', 0, 0, blanks(12) + "0.00"},
      {kDollars, '.', ',', -0.001, 39, '<', 0, 0, blanks(12) + "0.00 "},
      {kDollars, '.', ',', 999999999.99, 39, '-', 0, 0, blanks(2) + "999,999,999.99"},
      {kDollars, '.', ',', 1e9, 39, '-', 0, 0, std::string(39, '?')},
      {kDollars, '.', ',', -1e9, 39, '<', 0, 0, "<" + std::string(38, '?')},
      {kDollars, '.', ',', NAN, 10, '-', 0, 0, std::string(10, '?')},
      {kDollars, '.', ',', -INFINITY, 10, '-', 0, 0, std::string(10, '?')},
      {kDollars, '.', ',', -999999.99, 16, '<', 0, 0, "  <999,999.99>"},
      {kDollars, '.', ',', -99999999.99, 16, '<', 0, 0, "99,999,999.99>"},  // no room for "<"
      {kDollars, '.', ',', 5.0, 0, '<', 0, 0, ""},
      {kDollars, ',', '.', 1234.5, 39, '-', 0, 0, blanks(8) + "1.234,50"},
      {kDollars, ',', ',', 1234.5, 39, '-', 0, 0, blanks(9) + "1234,50"},
      {kDollars, '.', '\0', 1234.5, 39, '-', 0, 0, blanks(9) + "1234.50"},
      {kReal, '.', ',', 1234567.891, 39, 0, 0, 18, blanks(9) + "1234568"},
      {kReal, '.', ',', 1234567.891, 11, 0, 2, 11, "1234567.89"},
      {kReal, ',', '.', 1234.5, 39, 0, 2, 18, blanks(8) + "1.234,50"},
      {kReal, '.', ',', 1.5, 10, 0, 2, 18, std::string(10, '?')},
      {kReal, '.', ',', 1.5, 10, 0, 2, 1, std::string(10, '?')},   // width below 2
      {kReal, '.', ',', 1.5, 10, 0, 9, 8, std::string(10, '?')},   // more decimals than room
      {kReal, '.', ',', -0.001, 10, 0, 2, 8, " -0.00"},
      {kReal, '.', ',', 0.125, 10, 0, 2, 8, "  0.12"},            // the binary tie goes to even
      {kReal, '.', ',', 123456789.0, 12, 0, 0, 5, "123456789"},  // wider than its field
      {kAppend, '.', ',', 1234567.89, 10, '-', 0, 10, "1234567.89"},
      {kAppend, '.', ',', 1234567.89, 11, '-', 0, 11, "1234,567.89"},  // only until it fits
      {kAppend, '.', ',', 1234567.89, 12, '-', 0, 11, " 1234,567.89"},
      {kAppend, '.', ',', 1234567.89, 9, '-', 0, 9, std::string(9, '?')},
      {kAppend, '.', ',', -12.5, 8, '<', 0, 8, " <12.50>"},
      {kAppendNoComma, '.', ',', 1234567.891, 12, 0, 0, 12, "  1234567.89"},
      {kAppendNoComma, ',', '.', -1234.5, 8, 0, 0, 8, "-1234,50"},
      {kAppendNoComma, '.', ',', 1234.5, 8, 0, 0, 6, "  ??????"},
      {kAppendNoComma, '.', ',', 2e9, 8, 0, 0, 30, "????????"},
  };
  for (const Case& c : cases) {
    symbols(c.decimal, c.thousands);
    Dest d(c.high);
    switch (c.op) {
      case kDollars: DollarsToString(c.x, d.high, d.data(), 0, c.style); break;
      case kReal: MyRealToString(c.x, d.high, d.data(), c.decimals, c.width); break;
      case kAppend: AppendRtoString(d.high, d.data(), c.x, c.width, c.style); break;
      case kAppendNoComma: AppendRtoStringNoComma(d.high, d.data(), c.x, c.width); break;
    }
    EXPECT_EQ(d.text(), c.expect) << c.op << " " << c.x << " high " << c.high;
    for (std::size_t i = d.text().size(); i <= d.high; ++i)
      ASSERT_EQ(d.b[i], '\0') << c.expect << ": not NUL-filled";
  }
  symbols('.', ',');
  Dest d(20);
  DollarsToString(12.0, d.high, d.data(), 1, '<');
  EXPECT_EQ(d.text(), blanks(10) + "<12.00>");
  digits(0);
  DollarsToString(-2.5, d.high, d.data(), 0, '-');
  EXPECT_EQ(d.text(), blanks(14) + "-2");  // the digits of the conversion, no rounding bias
  digits(3);
  DollarsToString(1234.5, d.high, d.data(), 0, '-');
  EXPECT_EQ(d.text(), blanks(7) + "1,234.500");
}

// The core at a position: success moves it; failure fills the rest with "?".
TEST_F(Numbers, FormattingCore) {
  struct Case {
    double x;
    uint16_t width, whole, high, pos;
    std::string expect;  // the whole array's text
    uint16_t end;
    bool done;
  };
  const Case cases[] = {
      {3.14159, 6, 3, 10, 2, "ab 3.142", 8, true},
      {-3.0, 4, 4, 10, 0, "  -3", 4, true},
      {3.0, 4, 5, 10, 2, "ab????????", 10, false},   // whole > width
      {3.0, 8, 4, 10, 2, "ab????????", 10, false},   // width + pos = high
      {3.0, 31, 4, 60, 0, std::string(60, '?'), 60, false},
      {123456.0, 3, 3, 8, 2, "ab123456", 8, true},    // wider than its field
      {123456.0, 3, 3, 7, 2, "ab?????", 7, false},   // the text passes high
      {1e9, 4, 4, 10, 0, std::string(10, '?'), 10, false},
      {3.0, 4, 4, 5, 9, "ab", 5, false},             // a position past HIGH
      {-999999999.0, 30, 0, 60, 0, std::string(60, '?'), 60, false},  // over 31 characters
  };
  for (const Case& c : cases) {
    Dest d(c.high, "ab");
    uint16_t pos = c.pos;
    uint8_t done = 7;
    RealToStringFixed(c.x, c.width, c.whole, d.high, d.data(), &pos, &done);
    EXPECT_EQ(d.text(), c.expect) << c.x;
    EXPECT_EQ(pos, c.end) << c.x;
    EXPECT_EQ(done, c.done ? 1 : 0) << c.x;
  }
  uint8_t done = 1;
  uint16_t pos = 0;
  RealToStringFixed(1.0, 4, 2, 10, nullptr, &pos, &done);
  EXPECT_EQ(done, 0);
  DollarsToString(1.0, 10, nullptr, 0, '-');
  MyRealToString(1.0, 10, nullptr, 2, 8);
  AppendRtoString(10, nullptr, 1.0, 5, '-');
}

TEST_F(Numbers, Parsing) {
  enum Op { kReal, kQty, kRealPlain, kQtyPlain };
  struct Case {
    Op op;
    char decimal, thousands;
    bool auto_decimal;
    const char* text;
    double expect;
    bool done;
  };
  const std::string digits300(300, '7');
  const Case cases[] = {
      {kReal, '.', ',', false, "1,234.56", 1234.56, true},
      {kReal, '.', ',', true, "123456", 1234.56, true},
      {kReal, '.', ',', true, "5", 0.05, true},
      {kReal, '.', ',', true, "-5", -0.05, true},
      {kReal, '.', ',', true, "12.", 12.0, true},
      {kReal, '.', ',', false, "123456", 123456.0, true},
      {kReal, '.', ',', true, "", 0.0, true},
      {kReal, '.', ',', true, "     ", 0.0, true},
      {kReal, '.', ',', false, "", 0.0, true},
      {kReal, '.', ',', true, "12abc", 12.0, false},
      {kReal, '.', ',', false, "(5)", 0.0, false},
      {kReal, '.', ',', false, "5-", 5.0, false},
      {kReal, '.', ',', false, "5CR", 5.0, false},
      {kReal, '.', ',', true, "1.005", 1.005, true},
      {kQty, '.', ',', true, "1.005", 1.01, true},
      {kQty, '.', ',', true, "12345", 123.45, true},
      {kQty, '.', ',', false, "2.5x", 2.5, false},
      {kReal, ',', '.', false, "  -1.234,5  ", -1234.5, true},
      {kReal, '.', ',', false, "12345678901234567890", 12345678901234567890.0, true},
      {kReal, '.', ',', false, "123456789012345678901", 0.0, false},  // 21 characters
      {kReal, '.', ',', true, "12345678901234567890", 0.0, false},  // 21 with the point
      {kReal, '.', ',', true, "1234567890123456789", 12345678901234567.89, true},
      {kReal, '.', ',', false, "1,234,567,890,123,456,789", 1234567890123456789.0, true},
      {kReal, '.', ',', false, "--5", 0.0, false},
      {kReal, '.', ',', false, "-+5", 0.0, false},
      {kReal, '.', ',', false, "1.2.3", 1.2, false},
      {kReal, '.', ',', false, ",,,", 0.0, true},  // only separators: the empty text
      {kReal, '.', ',', false, "nan", 0.0, false},
      {kReal, '.', ',', false, "inf", 0.0, false},
      {kReal, '.', ',', false, "-infinity", 0.0, false},
      {kReal, '.', ',', false, "0x1A", 0.0, false},
      {kReal, '.', ',', false, "1e999", 0.0, false},
      {kReal, '.', ',', false, "1e-999", 0.0, true},
      {kReal, '.', ',', false, "2.5e3", 2500.0, true},
      {kReal, '.', ',', false, digits300.c_str(), 0.0, false},
      {kReal, ',', ',', false, "1,50", 1.5, true},       // equal symbols: a decimal symbol
      {kReal, ',', ',', false, "1,234,50", 1.234, false},
      {kReal, '.', '\0', false, "1,5", 1.0, false},
      {kRealPlain, '.', ',', true, "123456", 123456.0, true},
      {kQtyPlain, '.', ',', true, "1.005", 1.005, true},
  };
  for (const Case& c : cases) {
    symbols(c.decimal, c.thousands);
    corva::frame::settings().auto_decimal = c.auto_decimal;
    std::vector<char> text(c.text, c.text + std::strlen(c.text) + 1);
    double got = -99.0;
    uint8_t done = 9;
    const auto high = static_cast<uint16_t>(text.size() - 1);
    switch (c.op) {
      case kReal: done = MyStringToReal(high, text.data(), &got); break;
      case kQty: done = MyStringToQty(high, text.data(), &got); break;
      case kRealPlain: done = MyStringToRealWithNoExtras(high, text.data(), &got); break;
      case kQtyPlain: done = MyStringToQtyWithNoExtras(high, text.data(), &got); break;
    }
    EXPECT_EQ(got, c.expect) << c.op << " '" << c.text << "'";
    EXPECT_EQ(done, c.done ? 1 : 0) << c.op << " '" << c.text << "'";
  }
  double r = 1.0;
  EXPECT_EQ(MyStringToReal(5, nullptr, &r), 1);  // a null text reads as empty
  EXPECT_EQ(MyStringToReal(5, "1", nullptr), 0);
  corva::frame::settings().real_precision = 9;  // outside the table: rounded at 4 places
  EXPECT_EQ(MyStringToQty(8, "1.234567", &r), 1);
  EXPECT_EQ(r, 1.2346);
}

TEST_F(Numbers, ParsingCore) {
  struct Case {
    std::string array;  // the whole array: HIGH is its size - 1
    uint16_t pos;
    double expect;
    bool done;
    uint16_t end;
  };
  const Case cases[] = {
      {std::string("  -12.5e1\0xx", 12), 0, -125.0, true, 9},
      {std::string("ab3.5\0", 6), 2, 3.5, true, 5},
      {std::string("   \0", 4), 0, 0.0, false, 3},  // blanks alone are not a number
      {std::string("\0", 1), 0, 0.0, true, 0},
      {std::string("12345", 5), 0, 0.0, false, 5},  // no NUL before the array ends
      {std::string(31, '1') + '\0', 0, 0.0, false, 31},
      {std::string(30, '1') + '\0', 0, 111111111111111111111111111111.0, true, 30},
      {std::string("7\0", 2), 5, 0.0, false, 5},
  };
  for (const Case& c : cases) {
    std::vector<char> a(c.array.begin(), c.array.end());
    uint16_t pos = c.pos;
    double got = -99.0;
    uint8_t done = 9;
    StringToReal(static_cast<uint16_t>(a.size() - 1), a.data(), &pos, &got, &done);
    EXPECT_EQ(got, c.expect) << c.array;
    EXPECT_EQ(done, c.done ? 1 : 0) << c.array;
    EXPECT_EQ(pos, c.end) << c.array;
  }
  symbols(',', '.');
  char s[21] = " 1.234.567,5 ";
  PrepString4RealConv(20, s);
  EXPECT_STREQ(s, "1234567.5");
  char full[4] = {' ', '1', ',', '5'};  // fills the array: the last character goes
  PrepString4RealConv(3, full);
  EXPECT_EQ(std::string(full, 3), std::string("1.\0", 3));
}

TEST_F(Numbers, AmountInWords) {
  struct Case {
    double amount;
    uint16_t high;
    const char* expect;
  };
  const Case cases[] = {
      {1234.56, 80, "One Thousand Two Hundred Thirty-Four and 56/100 Dollars"},
      {100.0, 80, "One Hundred and 0/100 Dollars"},
      {0.07, 80, "Zero and 7/100 Dollars"},
      {1000001.0, 80, "One Million One and 0/100 Dollars"},
      {1002003.04, 80, "One Million Two Thousand Three and 4/100 Dollars"},
      {40.0, 80, "Forty and 0/100 Dollars"},
      {15.10, 80, "Fifteen and 10/100 Dollars"},
      {999999999.99, 200,
       "Nine Hundred Ninety-Nine Million Nine Hundred Ninety-Nine Thousand Nine Hundred "
       "Ninety-Nine and 99/100 Dollars"},
      {1777000000.0, 80, "Seventeen Hundred Seventy-Seven Million and 0/100 Dollars"},
      {12.345, 80, "Twelve and 35/100 Dollars"},
      {0.995, 80, "Zero and 100/100 Dollars"},
      {1234.56, 12, "One Thousand"},
      {1234.56, 11, "One Thousan"},
      {1234.56, 0, ""},
      {-1.0, 80, ""},
      {2e9, 80, ""},
      {NAN, 80, ""},
  };
  for (const Case& c : cases) {
    Dest d(c.high, "leftover");
    AmountToWords(c.amount, d.high, d.data());
    EXPECT_EQ(d.text(), c.expect) << c.amount;
    for (std::size_t i = d.text().size(); i <= d.high; ++i) ASSERT_EQ(d.b[i], '\0') << c.amount;
  }
  AmountToWords(1.0, 10, nullptr);
}

// Seeded random values through format and parse, per digits and separators:
// a rounded amount comes back exactly; an unrounded one comes back rounded,
// except that the conversion rounds a value very near a half on its binary
// digits rather than with Round's bias.
TEST_F(Numbers, FormatThenParseRoundTrips) {
  std::mt19937_64 rng(20261206);
  std::uniform_real_distribution<double> magnitude(-9.0, 9.0);  // a power of ten
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  for (unsigned n : {0u, 2u, 3u}) {
    for (const char* sym : {".,", ",."}) {
      digits(n);
      symbols(sym[0], sym[1]);
      corva::frame::settings().real_precision = static_cast<int16_t>(n);
      const double scale = corva::frame::settings().currency_scale;
      for (int i = 0; i < 100000; ++i) {
        const double x = unit(rng) * std::pow(10.0, magnitude(rng));
        const double rounded = Round(x);
        char text[40];
        double back = 0.0;
        DollarsToString(rounded, 39, text, 0, '-');
        ASSERT_EQ(MyStringToReal(39, text, &back), 1) << text;
        ASSERT_EQ(back, rounded) << x << " '" << text << "'";
        MyQtyToString(x, 39, text, static_cast<uint16_t>(n), 20);
        ASSERT_EQ(MyStringToQty(39, text, &back), 1) << text;
        const double scaled = std::fabs(x) * scale;
        if (std::fabs(scaled - std::floor(scaled) - 0.5) > 1e-6) {
          ASSERT_EQ(back, rounded) << x << " '" << text << "'";
        } else {
          ASSERT_LE(std::fabs(back - rounded), 1.0 / scale + 1e-9) << x;
        }
      }
    }
  }
}

}  // namespace
