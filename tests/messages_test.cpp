// The message engine: classes and buffers, substitutions, the show routine's
// wait and help handling, the library path, and the error log's bytes.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
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

TEST(MessageLoading, StoredTextsKeepTheirClasses) {
  struct Case {
    uint16_t number;
    const char* stored;
  } cases[] = {
      {20300, "@Call Corvantis Technical Support."},
      {20302, "?This procedure will $$$.  Do you want to proceed?"},
      {20346, "?|You have modified the current record and have not saved it.  Do you want to "
              "save this record first?"},
      {20375, "%You cannot perform that operation.  Another user has deleted this record since "
              "you began editing it. "},
      {20338, "Not enough memory to copy to clipboard.  Close another application and try again."},
      {21051, "@Unable to locate TAXINFO.DAT."},
  };
  for (const Case& c : cases) {
    char buffer[512];
    EXPECT_GT(MyLoadString(c.number, 511, buffer), 0);
    EXPECT_STREQ(buffer, c.stored);
  }
}

}  // namespace
