// The regional and application settings and their refresh from the profiles.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <cstring>
#include <fstream>
#include <string>

#include "corvalib/frame.h"
#include "corvaplat/config.h"
#include "corvaplat/profile.h"
#include "frame/settings.h"
#include "frame/state.h"
#include "support/temp_dir.h"
#include "support/windir.h"

namespace {
using corva::frame::Settings;
using corva::frame::settings;

class SettingsTest : public testing::Test {
 protected:
  void SetUp() override {
    saved_settings_ = settings();
    std::memcpy(saved_path_, corva::frame::record().DataPath, sizeof saved_path_);
    settings() = Settings{};
    std::memset(corva::frame::record().DataPath, 0, sizeof saved_path_);
  }
  void TearDown() override {
    settings() = saved_settings_;
    std::memcpy(corva::frame::record().DataPath, saved_path_, sizeof saved_path_);
  }
  void win_ini(const std::string& text) { std::ofstream(dir_.file("WIN.INI")) << text; }
  void cvx_ini(const std::string& text) { std::ofstream(dir_.file("CVX70.INI")) << text; }
  Settings saved_settings_;
  char saved_path_[64];
  corva::test::TempDir dir_;
  corva::test::WindowsDirectory windir_{dir_.path()};
};

TEST_F(SettingsTest, RegionalSettings) {
  struct Case {
    const char* win_ini;
    char separator; std::int32_t order; char decimal; char thousands; std::uint16_t digits;
    double scale; double half;
  };
  const Case cases[] = {
      {"", '-', 0, '.', ',', 2, 100.0, 0.005},
      {"[other]\nsDate=/\n", '-', 0, '.', ',', 2, 100.0, 0.005},
      {"[intl]\nsDate=./\niDate=1\nsDecimal=,\nsThousand=.\niCurrDigits=3\n", '.', 1, ',', '.', 3,
       1000.0, 0.0005},
      {"[INTL]\nSDATE = / \niCurrDigits=0\n", '/', 0, '.', ',', 0, 1.0, 0.5},
  };
  for (const Case& c : cases) {
    settings() = Settings{};
    win_ini(c.win_ini);
    ReReadWinIni();
    const Settings& s = settings();
    EXPECT_EQ(s.date_separator, c.separator) << c.win_ini;
    EXPECT_EQ(s.date_order, c.order);
    EXPECT_EQ(s.decimal_point, c.decimal);
    EXPECT_EQ(s.thousands_separator, c.thousands);
    EXPECT_EQ(GetCurrencyPrecision(), c.digits);
    EXPECT_DOUBLE_EQ(s.currency_scale, c.scale);
    EXPECT_DOUBLE_EQ(s.currency_half_unit, c.half);
    EXPECT_EQ(s.earliest_date, (1901u << 16) | (1u << 8) | 1u);
    EXPECT_EQ(s.latest_date, (2099u << 16) | (12u << 8) | 31u);
  }
  // A setter holds until the next refresh, which takes the file's value again.
  win_ini("[intl]\niDate=2\n");
  EXPECT_EQ(SetDateOrder(1), 0);
  EXPECT_EQ(SetDateOrder(1), 1);
  ReReadWinIni();
  EXPECT_EQ(settings().date_order, 2);
  char point[4] = {'x', 'x', 'x', 'x'};
  GetDecimalPoint(0, point);
  EXPECT_EQ(point[0], 'x');
  GetDecimalPoint(3, point);
  EXPECT_EQ(std::string(point, 4), std::string(".\0\0\0", 4));
  EXPECT_EQ(SetRealPrecision(4), 2);
  EXPECT_EQ(GetRealPrecision(), 4);
}

TEST_F(SettingsTest, ApplicationSwitches) {
  struct Case { const char* cvx_ini; bool before; bool auto_decimal; bool large_clip; };
  const Case cases[] = {
      {"[Lib]\nAUTODECIMAL=yes\n", false, true, false},
      {"[Lib]\nAUTODECIMAL=No\n", true, false, false},
      {"[Lib]\nAUTODECIMAL=true\n", true, false, false},
      {"[Lib]\nAUTODECIMAL=\n", true, false, false},
      {"[Lib]\n", true, true, false},  // missing: kept
      {"[Lib]\n", false, false, false},
      {"[Options]\nAllowLargeClip=y\n", true, true, true},
      {"[Options]\nAllowLargeClip=Nope\n", true, true, false},
  };
  for (const Case& c : cases) {
    cvx_ini(c.cvx_ini);
    settings().auto_decimal = c.before;
    settings().allow_large_clip = true;
    ReReadCorvaIni();
    EXPECT_EQ(GetAutoDecimal(), c.auto_decimal ? 1 : 0) << c.cvx_ini;
    EXPECT_EQ(settings().allow_large_clip, c.large_clip) << c.cvx_ini;
  }
  EXPECT_EQ(SetAutoDecimal(0), 1);  // the old switch, and the new one is written
  char text[8];
  EXPECT_EQ(GetCVXProfileString("Lib", "AUTODECIMAL", "", text, 8), 2u);
  EXPECT_STREQ(text, "No");
  SetAutoDecimal(7);
  EXPECT_EQ(GetCVXProfileString("Lib", "AUTODECIMAL", "", text, 8), 3u);
}

TEST_F(SettingsTest, DataPath) {
  char* path = corva::frame::record().DataPath;
  struct Case { std::string cvx_ini; std::string expected; };
  const Case cases[] = {
      {"[Lib]\nDATAPATH=C:\\DATA\n", "C:\\DATA\\"},
      {"[Lib]\n", "C:\\DATA\\"},  // missing: kept
      {"[Lib]\nDATAPATH=D:\\CO\\\n", "D:\\CO\\"},
      {"[Lib]\nDATAPATH=" + std::string(70, 'p') + "\n", std::string(62, 'p') + "\\"},
      {"[Lib]\nDATAPATH=\n", ""},
  };
  for (const Case& c : cases) {
    cvx_ini(c.cvx_ini);
    ReReadCorvaIni();
    EXPECT_EQ(std::string(path), c.expected) << c.cvx_ini;
    for (std::size_t i = c.expected.size(); i < 64; ++i) EXPECT_EQ(path[i], '\0');
  }
  // A field filled to the last byte, without a NUL, is read safely.
  std::memset(path, 'q', 64);
  cvx_ini("[Lib]\n");
  ReReadCorvaIni();
  EXPECT_EQ(std::string(path), std::string(62, 'q') + "\\");
}

}  // namespace
