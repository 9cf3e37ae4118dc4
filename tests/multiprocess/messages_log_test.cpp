// Two processes log 1000 messages each into one error log at the same time,
// while the parent keeps reading it: no line may be lost or torn.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

#include "corvalib/frame.h"
#include "corvalib/messages.h"
#include "corvaplat/headfile.h"
#include "corvaplat/msgbox.h"

namespace {

namespace fs = std::filesystem;
constexpr int kPerProcess = 1000;

int quiet_box(void*, const corva::platform::MessageBoxRequest&) { return 1; }

// One writer: messages "<tag> <seq>" for seq 0..999, through the whole engine.
[[noreturn]] void log_messages(char tag) {
  corva::platform::set_message_box_presenter(quiet_box, nullptr);
  const std::string format = std::string(1, tag) + " ###";
  for (int i = 0; i < kPerProcess; ++i)
    MessageStrWithCard(0, format.c_str(), static_cast<uint16_t>(i));
  _exit(0);
}

struct Parsed {
  char tag;
  int seq;
};

// A line as a writer leaves it: blanks, "<tag> <seq>", blanks, CR LF.
bool parse(const char* line, Parsed& out) {
  if (line[77] != '\r' || line[78] != '\n') return false;
  if (std::string(line, 7) != "       ") return false;
  const std::string text(line + 7, 70);
  const auto end = text.find_last_not_of(' ');
  if (end == std::string::npos || (text[0] != 'A' && text[0] != 'B') || text[1] != ' ') return false;
  const std::string digits = text.substr(2, end - 1);
  if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) return false;
  out = {text[0], std::stoi(digits)};
  return out.seq < kPerProcess;
}

// Every line well formed; each writer's lines, newest first, run without a gap.
void check_snapshot(const char* image, std::size_t present, bool final_image) {
  if (present == 0) return;  // not created yet
  ASSERT_EQ(present, 3950u);
  int last_seq[2] = {-1, -1};
  int lines = 0;
  for (int i = 0; i < 50; ++i) {
    const char* line = image + i * 79;
    if (std::string(line, 79) == std::string(77, ' ') + "\r\n") {
      ASSERT_FALSE(final_image) << "blank line " << i << " in the final log";
      continue;  // the log is still filling
    }
    Parsed p{};
    ASSERT_TRUE(parse(line, p)) << "torn or foreign line " << i << ": " << std::string(line, 77);
    int& last = last_seq[p.tag - 'A'];
    if (last >= 0) {
      ASSERT_EQ(p.seq, last - 1) << "a line of " << p.tag << " was lost";
    }
    last = p.seq;
    ++lines;
  }
  if (final_image) {
    EXPECT_EQ(lines, 50);
  }
}

TEST(MessageLog, TwoProcessesLoseNoLine) {
  const fs::path dir = fs::temp_directory_path() / ("corva-mp-log-" + std::to_string(getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  const std::string data = dir.string() + "/";
  std::memset(MyCorvaLibDataPtr->DataPath, 0, sizeof MyCorvaLibDataPtr->DataPath);
  std::memcpy(MyCorvaLibDataPtr->DataPath, data.data(), data.size());
  const std::string log = (dir / "ERRORLOG.TXT").string();

  pid_t children[2];
  for (int i = 0; i < 2; ++i) {
    children[i] = fork();
    ASSERT_GE(children[i], 0);
    if (children[i] == 0) log_messages(static_cast<char>('A' + i));
  }
  int finished = 0, snapshots = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  char image[3950];
  // On a busy machine the writers may be done before the parent runs again:
  // it keeps reading until it has seen at least one image.
  while ((finished < 2 || snapshots == 0) && std::chrono::steady_clock::now() < deadline) {
    std::size_t present = 0;
    if (corva::platform::read_file_head(log.c_str(), image, sizeof image, &present) == 0) {
      check_snapshot(image, present, false);
      ++snapshots;
    }
    for (pid_t& child : children) {
      int status = 0;
      if (child > 0 && waitpid(child, &status, WNOHANG) == child) {
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        child = 0;
        ++finished;
      }
    }
  }
  for (pid_t child : children) {
    if (child > 0) {
      kill(child, SIGKILL);
      waitpid(child, nullptr, 0);
    }
  }
  ASSERT_EQ(finished, 2) << "writers did not finish in time";
  std::size_t present = 0;
  ASSERT_EQ(corva::platform::read_file_head(log.c_str(), image, sizeof image, &present), 0u);
  check_snapshot(image, present, true);
  Parsed newest{};
  ASSERT_TRUE(parse(image, newest));
  EXPECT_EQ(newest.seq, kPerProcess - 1);  // the last message of whoever finished last
  EXPECT_EQ(fs::file_size(log), 3950u);
  EXPECT_GT(snapshots, 0);
  fs::remove_all(dir);
}

}  // namespace
