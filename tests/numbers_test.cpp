// Amounts, quantities and reals: rounding, zero tests, formatting, parsing and
// the cheque words, under the regional settings they depend on.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
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

}  // namespace
