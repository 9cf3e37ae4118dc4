// Profile and registry writers in several processes at once: no key may be
// lost, and a change one process makes is seen by the other's next read.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "corvaplat/config.h"
#include "corvaplat/profile.h"
#include "corvaplat/registry.h"

namespace {
using namespace corva::platform;

constexpr int kRounds = 500;

// Runs body in a child process; the child's exit status is body's result.
pid_t spawn(int (*body)(int, const std::string&), int id, const std::string& arg) {
  const pid_t pid = fork();
  if (pid == 0) _exit(body(id, arg));
  return pid;
}

// Waits for the child, killing it after the timeout; true when it exited 0.
bool finished_ok(pid_t pid, std::chrono::seconds timeout = std::chrono::seconds(120)) {
  const auto until = std::chrono::steady_clock::now() + timeout;
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > until) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string temp_dir() {
  char pattern[] = "/tmp/corva-mp-XXXXXX";
  return mkdtemp(pattern);
}

int write_profile_keys(int id, const std::string& file) {
  for (int round = 0; round < kRounds; ++round) {
    const std::string key = "w" + std::to_string(id) + "_" + std::to_string(round);
    if (WritePrivateProfileStringA("Shared", key.c_str(), std::to_string(round).c_str(),
                                   file.c_str()) != 1)
      return 1;
  }
  return 0;
}

int write_registry_values(int id, const std::string& windir) {
  setenv("CORVALIB_WINDIR", windir.c_str(), 1);
  reload_configuration();
  RegKey key = 0;
  if (RegCreateKeyExA(kHKeyLocalMachine, "SOFTWARE\\Corvantis\\Shared", 0, "", 0, kKeyAllAccess,
                      nullptr, &key, nullptr) != 0)
    return 1;
  for (int round = 0; round < kRounds / 2; ++round) {
    const std::string name = "w" + std::to_string(id) + "_" + std::to_string(round);
    const std::uint8_t byte = static_cast<std::uint8_t>(round);
    if (RegSetValueExA(key, name.c_str(), 0, kRegBinary, &byte, 1) != 0) return 1;
  }
  RegCloseKey(key);
  return 0;
}

TEST(ProfileProcesses, ConcurrentWritersKeepEveryKey) {
  const std::string file = temp_dir() + "/SHARED.INI";
  ASSERT_EQ(WritePrivateProfileStringA("Shared", "start", "1", file.c_str()), 1);
  std::vector<pid_t> children;
  for (int id = 0; id < 2; ++id) children.push_back(spawn(write_profile_keys, id, file));
  for (pid_t pid : children) EXPECT_TRUE(finished_ok(pid));
  int missing = 0;
  for (int id = 0; id < 2; ++id) {
    for (int round = 0; round < kRounds; ++round) {
      const std::string key = "w" + std::to_string(id) + "_" + std::to_string(round);
      char value[16];
      GetPrivateProfileStringA("Shared", key.c_str(), "", value, sizeof value, file.c_str());
      if (std::to_string(round) != value) ++missing;
    }
  }
  EXPECT_EQ(missing, 0);
  std::filesystem::remove_all(std::filesystem::path(file).parent_path());
}

TEST(ProfileProcesses, ConcurrentRegistryWritersKeepEveryValue) {
  const std::string windir = temp_dir();
  std::vector<pid_t> children;
  for (int id = 0; id < 2; ++id) children.push_back(spawn(write_registry_values, id, windir));
  for (pid_t pid : children) EXPECT_TRUE(finished_ok(pid));
  const char* saved = std::getenv("CORVALIB_WINDIR");
  const std::string old = saved == nullptr ? "" : saved;
  setenv("CORVALIB_WINDIR", windir.c_str(), 1);
  reload_configuration();
  RegKey key = 0;
  ASSERT_EQ(RegOpenKeyExA(kHKeyLocalMachine, "SOFTWARE\\Corvantis\\Shared", 0, kKeyRead, &key), 0);
  int missing = 0;
  for (int id = 0; id < 2; ++id) {
    for (int round = 0; round < kRounds / 2; ++round) {
      const std::string name = "w" + std::to_string(id) + "_" + std::to_string(round);
      std::uint8_t byte = 0;
      std::uint32_t size = 1;
      if (RegQueryValueExA(key, name.c_str(), nullptr, nullptr, &byte, &size) != 0 ||
          byte != static_cast<std::uint8_t>(round))
        ++missing;
    }
  }
  RegCloseKey(key);
  EXPECT_EQ(missing, 0);
  setenv("CORVALIB_WINDIR", old.c_str(), 1);
  reload_configuration();
  std::filesystem::remove_all(windir);
}

int write_one(int value, const std::string& file) {
  return WritePrivateProfileStringA("S", "v", std::to_string(value).c_str(), file.c_str()) == 1 ? 0 : 1;
}

int read_until(int value, const std::string& file) {
  for (int tries = 0; tries < 10000; ++tries) {
    if (static_cast<int>(GetPrivateProfileIntA("S", "v", -1, file.c_str())) == value) return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return 1;
}

TEST(ProfileProcesses, NextReadSeesTheOtherProcesssChange) {
  const std::string file = temp_dir() + "/SEEN.INI";
  ASSERT_EQ(WritePrivateProfileStringA("S", "v", "0", file.c_str()), 1);
  for (int value = 1; value <= 20; ++value) {
    ASSERT_EQ(GetPrivateProfileIntA("S", "v", -1, file.c_str()), static_cast<unsigned>(value - 1));
    // Same size, written by another process right after our cached read.
    ASSERT_TRUE(finished_ok(spawn(write_one, value, file)));
    ASSERT_EQ(GetPrivateProfileIntA("S", "v", -1, file.c_str()), static_cast<unsigned>(value));
  }
  // And the other way round: a child with its own cache sees our write.
  const pid_t reader = spawn(read_until, 77, file);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  ASSERT_EQ(WritePrivateProfileStringA("S", "v", "77", file.c_str()), 1);
  EXPECT_TRUE(finished_ok(reader));
  std::filesystem::remove_all(std::filesystem::path(file).parent_path());
}

}  // namespace
