// The message engine: classes and buffers, substitutions, the show routine's
// wait and help handling, the library path, and the error log's bytes.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <fstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "corvalib/frame.h"
#include "corvalib/messages.h"
#include "corvaplat/config.h"
#include "corvaplat/modules.h"
#include "corvaplat/msgbox.h"
#include "corvaplat/process.h"
#include "corvaplat/sys.h"
#include "frame/settings.h"
#include "messages/attention.h"
#include "messages/engine.h"

namespace {

namespace fs = std::filesystem;
namespace msg = corva::messages;
using corva::platform::MessageBoxRequest;

struct Box {
  std::string text, caption;
  uint32_t style;
  CvHWND owner;
};
std::vector<Box> g_boxes;
int g_answer = 0;  // 0: the default button

int record_box(void*, const MessageBoxRequest& r) {
  g_boxes.push_back({r.text, r.caption, r.style, r.owner});
  return g_answer != 0 ? g_answer : corva::platform::default_button(r.style);
}

uintptr_t ref(const char* text) { return reinterpret_cast<uintptr_t>(text); }

// A fresh data directory, a recording presenter, and the record put back.
class Messages : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("corva-msg-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
            testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    set_data_path(dir_.string() + "/");
    saved_ = corva::platform::set_message_box_presenter(record_box, nullptr);
    g_boxes.clear();
    g_answer = 0;
  }
  void TearDown() override {
    corva::platform::set_message_box_presenter(saved_, nullptr);
    set_data_path("");
    MyCorvaLibDataPtr->MainWindow = 0;
    MyCorvaLibDataPtr->AppActive = 0;
    fs::remove_all(dir_);
  }
  static void set_data_path(const std::string& p) {
    std::memset(MyCorvaLibDataPtr->DataPath, 0, sizeof MyCorvaLibDataPtr->DataPath);
    std::memcpy(MyCorvaLibDataPtr->DataPath, p.data(), std::min<size_t>(p.size(), 64));
  }
  std::string log() const {
    std::ifstream in(dir_ / "ERRORLOG.TXT", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::string line(int i) const { return log().substr(static_cast<size_t>(i) * 79, 79); }
  static std::string log_line(const std::string& number, const std::string& text) {
    std::string l = std::string(5 - number.size(), ' ') + number + "  " + text;
    l.resize(77, ' ');
    return l + "\r\n";
  }
  fs::path dir_;
  corva::platform::MessageBoxPresenter saved_ = nullptr;
};

const std::string kBlank = std::string(77, ' ') + "\r\n";

TEST(MessageClasses, PrefixTable) {
  struct Case {
    const char* text;
    int64_t number;
    uint32_t style;
    size_t removed;
  } cases[] = {
      {"@Stop", 20300, 0x10, 1},      {"@Memory", 20301, 0x1010, 1}, {"@|Print", 20315, 0x1010, 1},
      {"@x", 20336, 0x1010, 1},       {"*x", 20336, 0x40, 1},        {"!Ask", 1, 0x31, 1},
      {"%Warn", 1, 0x30, 1},          {"*Note", 1, 0x40, 1},         {"?Q", 1, 0x123, 1},
      {"^^No", 1, 0x124, 2},          {"^Yes", 1, 0x24, 1},          {"^", 1, 0x24, 1},
      {"~Plain", 1, 0x1, 1},          {"Number must", 1, 0x35, 0},   {"|Help", 1, 0x35, 0},
      {"", 1, 0x35, 0},
  };
  for (const Case& c : cases) {
    const msg::Prefix p = msg::read_prefix(c.text, c.number);
    EXPECT_EQ(p.style, c.style) << c.text;
    EXPECT_EQ(p.length, c.removed) << c.text;
  }
}

TEST(MessageLoading, NumbersTextsAndBuffers) {
  const corva::platform::StringResource strings[] = {
      {61001, "^^Two carets"}, {61002, "^One caret"}, {61003, "*|Helpful"}, {61004, "@"}};
  RegisterInstanceForStringSearch(corva::platform::register_module("msg-load-test", strings), 30);
  struct Case {
    uintptr_t ref;
    uint16_t high;
    const char* text;
    uint32_t style;  // 0xDEAD: left alone
  } cases[] = {
      {20311, 80, "|Invalid date", 0x40},
      {20301, 80, "Not enough Memory to run.", 0x1010},
      {20500, 80, "Number must be between ### and ###.", 0x35},
      {20375, 200,  // the stored text ends in a blank
       "You cannot perform that operation.  Another user has deleted this record since you began "
       "editing it. ",
       0x30},
      {61001, 80, "Two carets", 0x124},
      {61002, 80, "One caret", 0x24},
      {61003, 4, "|He", 0x40},  // cut to high before the class is read
      {61004, 80, "", 0x10},
      {20999, 80, "<unknown message 20999>", 0x35},
      {0, 80, "<unknown message 0>", 0x35},
      {65535, 80, "<unknown message 65535>", 0x35},
      {20999, 10, "<unknown m", 0x35},
      {ref("@Shown as it is"), 80, "@Shown as it is", 0xDEAD},
      {ref("@Shown as it is"), 5, "@Show", 0xDEAD},
  };
  for (const Case& c : cases) {
    std::vector<char> buffer(c.high + 1u, 'Z');
    uint32_t style = 0xDEAD;
    GetTheMessage(&style, c.ref, c.high, buffer.data());
    EXPECT_STREQ(buffer.data(), c.text) << c.ref;
    EXPECT_EQ(style, c.style) << c.ref;
    for (size_t i = std::strlen(c.text); i <= c.high; ++i) ASSERT_EQ(buffer[i], 0) << c.ref;
  }
  char small[8];
  GetTheMessage(nullptr, 20300, 7, small);  // no style variable
  EXPECT_STREQ(small, "Call C");  // seven loaded, the class dropped
  GetTheMessage(nullptr, 20300, 7, nullptr);
}

TEST_F(Messages, BuffersCutLongTexts) {
  const std::string x(2000, 'x'), card = std::string(300, 'c') + "###",
                                  dollar = "$$$" + std::string(300, 's');
  const char* const t = x.c_str();
  struct Case {
    const char* what;
    std::function<uint16_t()> call;
    size_t shown;
  } cases[] = {
      {"Message", [&] { return Message(0, ref(t)); }, 511},
      {"MessageStr", [&] { return MessageStr(0, t); }, 511},
      {"MessageStrArg", [&] { return MessageStrArg(0, "%s", t); }, 511},
      {"MessageWithArgs", [&] { return MessageWithArgs(0, ref("%s"), t); }, 511},
      {"MessageWithPara", [&] { return MessageWithPara(0, ref(t), 0, nullptr); }, 511},
      {"VeryLongMessage", [&] { return VeryLongMessage(0, 20300, 21058); }, 1023},
      {"MessageWithCard", [&] { return MessageWithCard(0, ref(card.c_str()), 7); }, 256},
      {"MessageStrWithCard", [&] { return MessageStrWithCard(0, card.c_str(), 7); }, 256},
      {"MessageWithString", [&] { return MessageWithString(0, ref(dollar.c_str()), 1999, t); }, 266},
      {"MessageStrWithString", [&] { return MessageStrWithString(0, dollar.c_str(), 1999, t); }, 266},
      {"Lib_Message", [&] { return Lib_Message(0, ref(t)); }, 256},
      {"Lib_MessageWithCard", [&] { return Lib_MessageWithCard(0, ref(card.c_str()), 7); }, 256},
      {"Lib_MessageWithString",
       [&] { return Lib_MessageWithString(0, ref(dollar.c_str()), 1999, t); }, 256},
  };
  for (const Case& c : cases) {
    g_boxes.clear();
    c.call();
    ASSERT_EQ(g_boxes.size(), 1u) << c.what;
    EXPECT_EQ(g_boxes[0].text.size(), c.shown) << c.what;
    EXPECT_EQ(g_boxes[0].caption, std::strncmp(c.what, "Lib_", 4) == 0 ? "Corvantis Library"
                                                                       : "Corvantis")
        << c.what;
  }
  EXPECT_EQ(log().size(), 3950u);
}

TEST_F(Messages, SubstitutionsAndStyles) {
  struct Case {
    const char* what;
    std::function<uint16_t()> call;
    const char* shown;
    uint32_t style;
    const char* logged;  // columns 0-76 of the newest line
  } cases[] = {
      {"20500 fills the first ###", [] { return MessageWithCard(0x40, 20500, 12); },
       "Number must be between 12 and ###.", 0x35, "20500  Number must be between 12 and ###."},
      {"20302 fills $$$", [] { return MessageWithString(0, 20302, 5, "close"); },
       "This procedure will close.  Do you want to proceed?", 0x123,
       "20302  This procedure will close.  Do you want to proceed?"},
      {"a text keeps its @ and the caller's style", [] { return Message(0x24, ref("@Text")); },
       "@Text", 0x24, "       @Text"},
      {"MessageStrWithCard", [] { return MessageStrWithCard(0x1, "### of ###", 65535); },
       "65535 of ###", 0x1, "       65535 of ###"},
      {"MessageStrWithString null s", [] { return MessageStrWithString(0x1, "[$$$]", 9, nullptr); },
       "[]", 0x1, "       []"},
      {"MessageStr null text", [] { return MessageStr(0x30, nullptr); }, "", 0x30, ""},
      {"MessageStrArg", [] { return MessageStrArg(0x40, "%d lines, %s", 3, "done"); },
       "3 lines, done", 0x40, "       3 lines, done"},
      {"MessageWithArgs logs the format",
       [] { return MessageWithArgs(0x10, ref("Resource %d is gone"), 77); }, "Resource 77 is gone",
       0x10, "       Resource %d is gone"},
      {"unknown number", [] { return Message(0, 20999); }, "<unknown message 20999>", 0x35,
       "20999  <unknown message 20999>"},
      {"number 0 logs no number", [] { return Message(0, 0); }, "<unknown message 0>", 0x35,
       "       <unknown message 0>"},
      {"VeryLongMessage joins", [] { return VeryLongMessage(0, 20343, 20344); },
       "Would you like to add this record?Would you like to modify this record?", 0x123,
       "20343  Would you like to add this record?Would you like to modify this record"},
      {"VeryLongMessage last before first", [] { return VeryLongMessage(0, 20373, 20372); },
       "Another user has changed this record since you began editing it. Please reselect this "
       "record to view the changes.  Then make your changes again, if necessary.",
       0x30, "20373  Another user has changed this record since you began editing it. Pleas"},
      {"VeryLongMessage unknown outside 16 bits", [] { return VeryLongMessage(0, -5, -5); },
       "<unknown message -5>", 0x35, "       <unknown message -5>"},
  };
  for (const Case& c : cases) {
    g_boxes.clear();
    c.call();
    ASSERT_EQ(g_boxes.size(), 1u) << c.what;
    EXPECT_EQ(g_boxes[0].text, c.shown) << c.what;
    EXPECT_EQ(g_boxes[0].style, c.style) << c.what;
    std::string expected = c.logged;
    expected.resize(77, ' ');
    EXPECT_EQ(line(0), expected + "\r\n") << c.what;
  }
}

TEST_F(Messages, ParametersInOrder) {
  double amount = -1234.5, big = 2e9;
  const char* name = "Payroll";
  const MessageParam params[] = {{0, 0x10007}, {1, reinterpret_cast<uintptr_t>(&amount)},
                                 {9, 0}, {2, reinterpret_cast<uintptr_t>(name)},
                                 {1, reinterpret_cast<uintptr_t>(&big)}, {1, 0}};
  MessageWithPara(0x40, ref("### owes %$% to %$%; %$%; %$%"), 6, params);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0].text, "7 owes -1,234.50 to Payroll; " + std::string(27, '?') + "; %$%");
  EXPECT_EQ(g_boxes[0].style, 0x40u);
  MessageWithPara(0x40, 20500, -1, params);  // nothing applied, the class stays in the text
  EXPECT_EQ(g_boxes[1].text, "Number must be between ### and ###.");
  MessageWithPara(0x40, 20302, 1, params);
  EXPECT_EQ(g_boxes[2].text, "?This procedure will $$$.  Do you want to proceed?");
  EXPECT_EQ(line(0).substr(0, 10), "20302  ?Th");

  corva::frame::Settings& s = corva::frame::settings();
  const corva::frame::Settings saved = s;
  s.decimal_point = ',';
  s.thousands_separator = '.';
  char field[28];
  EXPECT_EQ(msg::amount_text(1234567.891, field), "1.234.567,89");
  EXPECT_EQ(msg::amount_text(-0.001, field), "0,00");
  s = saved;
  EXPECT_EQ(msg::amount_text(999999999.99, field), "999,999,999.99");
}

TEST_F(Messages, WorkBufferMissing) {
  msg::fail_work_buffers(1);
  EXPECT_EQ(Message(0, 20300), 0);
  ASSERT_EQ(g_boxes.size(), 1u);  // only the allocator's own report
  EXPECT_EQ(g_boxes[0].text, "Not enough Memory to run.");
  EXPECT_EQ(g_boxes[0].caption, "Corvantis Library");
  EXPECT_EQ(g_boxes[0].style, 0x1010u);
  EXPECT_EQ(line(0), log_line("20301", "Not enough Memory to run."));
  EXPECT_EQ(line(1), kBlank);  // 20300 itself was never logged
  for (auto call : {+[] { return MessageStr(0, "x"); }, +[] { return MessageStrArg(0, "x"); },
                    +[] { return VeryLongMessage(0, 20300, 20301); },
                    +[] { return MessageWithPara(0, 20300, 0, nullptr); }}) {
    msg::fail_work_buffers(1);
    EXPECT_EQ(call(), 0);
  }
  g_boxes.clear();
  msg::fail_work_buffers(1, 1);  // MessageWithArgs: the formatting buffer is gone
  EXPECT_EQ(MessageWithArgs(0, 20341, 1), 0);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(line(1), log_line("20341", "PROGRAM BUG:  Resource ### could not be found!"));
  msg::fail_work_buffers(0);
}

// A window layer standing in for the application's: it counts what the
// engine asks of it and makes the application active after some messages.
struct FakeWindows {
  std::vector<bool> flashes;
  std::vector<std::pair<uintptr_t, uint32_t>> timers;
  int kills = 0, pumps = 0, active_after = 3, quit_at = -1;
  bool timer_works = true;
  CvHWND focus = 0x500;
  int focus_changes = 0;
  std::vector<msg::HelpBoxRequest> help_boxes;
  std::vector<std::string> help_texts;
  std::vector<std::string> plain_boxes;
  std::vector<int> modeless;
  std::vector<CvHWND> enabled;
  std::vector<std::tuple<CvHWND, uint32_t, uintptr_t>> posted;
  std::vector<uint16_t> help_levels;
  uint16_t help_level = 0;
  int showing_during_box = -1;
};
FakeWindows* g_fake = nullptr;

uint16_t fake_set_help_level(uint16_t level) {
  g_fake->help_levels.push_back(level);
  return std::exchange(g_fake->help_level, level);
}

class ShowRoutine : public Messages {
 protected:
  void SetUp() override {
    Messages::SetUp();
    g_fake = &fake_;
    msg::Attention& a = windows_.calls();
    a.get_focus = [] { return g_fake->focus; };
    a.set_focus = [](CvHWND w) { g_fake->focus = w; ++g_fake->focus_changes; };
    a.flash_window = [](CvHWND w, bool on) { EXPECT_EQ(w, 0x100u); g_fake->flashes.push_back(on); };
    a.set_timer = [](CvHWND w, uintptr_t id, uint32_t ms) {
      EXPECT_EQ(w, 0x100u);
      g_fake->timers.emplace_back(id, ms);
      return g_fake->timer_works;
    };
    a.kill_timer = [](CvHWND, uintptr_t id) { EXPECT_EQ(id, 2u); ++g_fake->kills; };
    a.pump_one = [] {
      ++g_fake->pumps;
      if (g_fake->pumps == g_fake->quit_at) return false;
      if (g_fake->pumps >= g_fake->active_after) MyCorvaLibDataPtr->AppActive = 1;
      return true;
    };
    a.framework_box = [](const char* text, uint32_t, int32_t help_id) {
      EXPECT_EQ(help_id, -1);
      g_fake->showing_during_box = MyCorvaLibDataPtr->MessageShowing;
      g_fake->plain_boxes.push_back(text);
      g_fake->focus = 0x777;  // the box took the focus
      return 1;
    };
    a.help_box = [](const msg::HelpBoxRequest& r) {
      g_fake->help_boxes.push_back(r);
      g_fake->help_texts.push_back(r.text);
      r.help_callback();  // the user presses F1 in the box
      return 6;
    };
    a.enable_modeless = [](bool on) { g_fake->modeless.push_back(on); };
    a.safe_owner = [](CvHWND* disabled) {
      if (disabled != nullptr) *disabled = 0x200;
      return CvHWND{0x300};
    };
    a.enable_window = [](CvHWND w, bool on) { EXPECT_TRUE(on); g_fake->enabled.push_back(w); };
    a.top_level_parent = [](CvHWND w) { return w == 0x300 ? CvHWND{0x200} : w; };
    a.post_message = [](CvHWND w, uint32_t m, uintptr_t wp, intptr_t lp) {
      EXPECT_EQ(lp, 0);
      g_fake->posted.emplace_back(w, m, wp);
    };
    const corva::platform::ModuleSymbol symbols[] = {
        {"_SetHelpLevel@4", reinterpret_cast<void*>(&fake_set_help_level)}};
    help_module_ = corva::platform::register_module("help-test", {}, symbols);
    RequirePerInstanceData(help_module_, 6, 0);
    MyCorvaLibDataPtr->MainWindow = 0x100;
    MyCorvaLibDataPtr->AppActive = 0;
  }
  void TearDown() override {
    RequirePerInstanceData(0, 6, 0);
    corva::platform::unregister_module(help_module_);
    g_fake = nullptr;
    Messages::TearDown();
  }
  FakeWindows fake_;
  msg::AttentionOverride windows_;
  CvHMODULE help_module_ = 0;
};

TEST_F(ShowRoutine, WaitsForTheForegroundFlashing) {
  struct Case {
    const char* what;
    uintptr_t ref;
    CvHWND main;
    uint8_t active;
    bool timer_works;
    int pumps, flashes, timers, kills;
  } cases[] = {
      {"inactive: flash and pump until active", 20300, 0x100, 0, true, 3, 4, 1, 1},
      {"system modal never waits", 20301, 0x100, 0, true, 0, 0, 0, 0},
      {"active already", 20300, 0x100, 1, true, 0, 0, 0, 0},
      {"no main window", 20300, 0, 0, true, 0, 0, 0, 0},
      {"no timer: shown at once", 20300, 0x100, 0, false, 0, 2, 1, 0},
  };
  for (const Case& c : cases) {
    fake_ = FakeWindows{};
    fake_.timer_works = c.timer_works;
    MyCorvaLibDataPtr->MainWindow = c.main;
    MyCorvaLibDataPtr->AppActive = c.active;
    EXPECT_EQ(Message(0, c.ref), 1) << c.what;
    EXPECT_EQ(fake_.pumps, c.pumps) << c.what;
    EXPECT_EQ(static_cast<int>(fake_.flashes.size()), c.flashes) << c.what;
    if (!fake_.flashes.empty()) {
      EXPECT_FALSE(fake_.flashes.back()) << c.what;  // flash off
    }
    EXPECT_EQ(static_cast<int>(fake_.timers.size()), c.timers) << c.what;
    for (auto [id, ms] : fake_.timers) EXPECT_TRUE(id == 2 && ms == 500) << c.what;
    EXPECT_EQ(fake_.kills, c.kills) << c.what;
    EXPECT_EQ(fake_.plain_boxes.size(), 1u) << c.what;
    EXPECT_EQ(fake_.showing_during_box, 1) << c.what;
    EXPECT_EQ(MyCorvaLibDataPtr->MessageShowing, 0) << c.what;
    EXPECT_EQ(fake_.focus, 0x500u) << c.what;  // given back after the box
  }
}

TEST_F(ShowRoutine, HelpLevelAndHelpBox) {
  fake_.help_level = 44;
  MyCorvaLibDataPtr->AppActive = 1;
  EXPECT_EQ(Message(0, 20311), 6);
  ASSERT_EQ(fake_.help_boxes.size(), 1u);
  const msg::HelpBoxRequest& r = fake_.help_boxes[0];
  EXPECT_EQ(r.size, 40u);
  EXPECT_EQ(fake_.help_texts[0], "Invalid date");
  EXPECT_STREQ(r.caption, "Corvantis");
  EXPECT_EQ(r.style, 0x4040u);
  EXPECT_EQ(r.context_help_id, 20311u);
  EXPECT_EQ(r.owner, 0x300u);
  EXPECT_EQ(r.language, 9u);
  EXPECT_EQ(fake_.modeless, (std::vector<int>{0, 1}));
  EXPECT_EQ(fake_.enabled, (std::vector<CvHWND>{0x200}));
  ASSERT_EQ(fake_.posted.size(), 1u);  // F1 released, to the owner's top-level window
  EXPECT_EQ(fake_.posted[0], std::make_tuple(CvHWND{0x200}, 0x101u, uintptr_t{0x70}));
  EXPECT_EQ(fake_.help_levels, (std::vector<uint16_t>{20311, 44}));
  EXPECT_EQ(line(0), log_line("20311", "|Invalid date"));

  Message(0, 20300);  // no bar: help level 0 around the box, then back
  EXPECT_EQ(fake_.help_levels, (std::vector<uint16_t>{20311, 44, 0, 44}));
  RequirePerInstanceData(0, 6, 0);  // no help module: the box all the same
  EXPECT_EQ(Message(0, 20311), 6);
  EXPECT_EQ(fake_.help_boxes.size(), 2u);
  EXPECT_EQ(fake_.help_levels.size(), 4u);
}

TEST_F(ShowRoutine, LibraryPathNeedsNoWindow) {
  windows_.calls().create_owner = [](CvHWND* w) { *w = 0x900; return true; };
  windows_.calls().destroy_owner = [](CvHWND w) { EXPECT_EQ(w, 0x900u); g_fake->focus = 0; };
  EXPECT_EQ(Lib_MessageWithCard(0, ref("|Slot ### missing"), 6), 1);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0].text, "|Slot 6 missing");  // the bar is not read on this path
  EXPECT_EQ(g_boxes[0].owner, 0x900u);
  EXPECT_EQ(g_boxes[0].caption, "Corvantis Library");
  EXPECT_EQ(fake_.pumps, 0);  // no wait for the foreground
  EXPECT_TRUE(fake_.flashes.empty());
  EXPECT_EQ(line(0), log_line("", "|Slot 6 missing"));
  windows_.calls().create_owner = [](CvHWND*) { return false; };
  EXPECT_EQ(Lib_Message(0, 20300), 2);
  EXPECT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(line(0), log_line("20300", "Call Corvantis Technical Support."));
}

TEST_F(ShowRoutine, QuitWhileWaitingEndsTheProcess) {
  fake_.quit_at = 2;
  EXPECT_EXIT(Message(0, 20300), testing::ExitedWithCode(3),
              "Fatal application exit: Quit while message pending.");
}

TEST_F(Messages, LogLayoutByteForByte) {
  Message(0, 20311);
  std::string expected = log_line("20311", "|Invalid date");
  for (int i = 1; i < 50; ++i) expected += kBlank;
  EXPECT_EQ(log(), expected);

  const std::string seventy_five(75, 'y');
  SaveTheMessage(-3, 0, seventy_five.c_str());  // negative: no number; text cut at 70
  SaveTheMessage(65535, 0, "top");
  SaveTheMessage(7, 0, nullptr);
  EXPECT_EQ(line(0), log_line("7", ""));
  EXPECT_EQ(line(1), log_line("65535", "top"));
  EXPECT_EQ(line(2), "       " + std::string(70, 'y') + "\r\n");
  EXPECT_EQ(line(3), expected.substr(0, 79));
  for (int i = 0; i < 48; ++i) MessageStrWithCard(0, "fill ###", static_cast<uint16_t>(i));
  EXPECT_EQ(line(0), log_line("", "fill 47"));
  EXPECT_EQ(line(49), log_line("65535", "top"));  // 20311 and the blank -3 line are gone
  EXPECT_EQ(log().size(), 3950u);
}

TEST_F(Messages, ExistingLogsOfTheWrongSize) {
  struct Case {
    const char* what;
    std::string before;
    std::string after;  // the file once one message is logged
  };
  const std::string top = log_line("20300", "Call Corvantis Technical Support.");
  const std::string garbage = std::string("\x01\xff garbage\0\n", 12) + std::string(4000, 'g');
  const std::string old_line = log_line("12", "older");
  Case cases[] = {
      {"empty file: read as it is, the rest NUL", "", top + std::string(3950 - 79, '\0')},
      {"short file: shifted, the rest NUL", old_line, top + old_line + std::string(3950 - 158, '\0')},
      {"long file: the tail stays", garbage, top + garbage.substr(0, 3871) + garbage.substr(3950)},
  };
  for (const Case& c : cases) {
    {
      std::ofstream out(dir_ / "ERRORLOG.TXT", std::ios::binary | std::ios::trunc);
      out << c.before;
    }
    Message(0, 20300);
    EXPECT_EQ(log(), c.after) << c.what;
  }
}

TEST_F(Messages, LogThatCannotBeWritten) {
  struct Case {
    const char* what;
    std::string data_path;
    int open_errno, write_errno;
  } cases[] = {
      {"missing directory", (dir_ / "nowhere").string() + "/", 0, 0},
      {"drive without a mapping", "Q:\\DATA\\", 0, 0},
      {"read-only directory", dir_.string() + "/", EROFS, 0},
      {"access denied", dir_.string() + "/", EACCES, 0},
      {"disk full", dir_.string() + "/", 0, ENOSPC},
      {"no data path", "", 0, 0},
  };
  static int open_errno = 0, write_errno = 0;
  for (const Case& c : cases) {
    set_data_path(c.data_path);
    corva::platform::SysOverride fault;
    open_errno = c.open_errno;
    write_errno = c.write_errno;
    if (open_errno != 0) {
      fault.calls().open = [](const char*, int, unsigned) {
        errno = open_errno;
        return -1;
      };
    }
    if (write_errno != 0) {
      fault.calls().pwrite = [](int, const void*, std::size_t, std::int64_t) -> long {
        errno = write_errno;
        return -1;
      };
    }
    g_boxes.clear();
    EXPECT_EQ(MessageWithCard(0, 20500, 1), corva::platform::IDRETRY) << c.what;
    EXPECT_EQ(g_boxes.size(), 1u) << c.what;  // the box shows all the same
    EXPECT_TRUE(log().empty()) << c.what;      // and nothing is written
    EXPECT_FALSE(fs::exists(dir_ / "nowhere")) << c.what;
  }
}

TEST_F(Messages, PlantedLogIsNeverWrittenThrough) {
  const fs::path victim = dir_ / "victim";
  const fs::path log_path = dir_ / "ERRORLOG.TXT";
  struct Case {
    const char* what;
    void (*plant)(const fs::path& log, const fs::path& victim);
  } cases[] = {
      {"symlink to a file", [](const fs::path& l, const fs::path& v) { fs::create_symlink(v, l); }},
      {"symlink to nowhere",
       [](const fs::path& l, const fs::path& v) { fs::create_symlink(v.string() + ".new", l); }},
      {"FIFO", [](const fs::path& l, const fs::path&) { ASSERT_EQ(mkfifo(l.c_str(), 0600), 0); }},
      {"directory", [](const fs::path& l, const fs::path&) { fs::create_directory(l); }},
  };
  for (const Case& c : cases) {
    fs::remove_all(log_path);
    std::ofstream(victim, std::ios::binary | std::ios::trunc) << "precious";
    c.plant(log_path, victim);
    g_boxes.clear();
    Message(0, 20300);
    EXPECT_EQ(g_boxes.size(), 1u) << c.what;  // shown all the same
    std::ifstream in(victim, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "precious") << c.what;
    EXPECT_FALSE(fs::exists(victim.string() + ".new")) << c.what;
  }
}

TEST_F(Messages, DataPathAsADosName) {
  fs::create_directories(dir_ / "Company1");
  setenv("CORVALIB_DRIVE_K", dir_.c_str(), 1);
  corva::platform::reload_configuration();
  set_data_path("k:\\COMPANY1\\");
  Message(0, 20303);
  unsetenv("CORVALIB_DRIVE_K");
  corva::platform::reload_configuration();
  EXPECT_EQ(fs::file_size(dir_ / "Company1" / "ERRORLOG.TXT"), 3950u);
  // a data path of 63 characters leaves room for one letter of the name
  std::string deep = dir_.string() + "/";
  deep += std::string(63 - deep.size() - 1, 'd') + "/";
  ASSERT_EQ(deep.size(), 63u);
  fs::create_directories(deep);
  set_data_path(deep);
  Message(0, 20303);
  EXPECT_TRUE(fs::exists(deep + "E"));
}

}  // namespace
