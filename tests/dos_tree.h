// A small directory tree mapped as drives D: and E: for the tests of DOS
// names, searches and whole-file operations.
#pragma once
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "corvaplat/config.h"
#include "corvaplat/paths.h"

// A string literal as a bounded string: its HIGH, then the array.
#define BSTR(literal) static_cast<uint16_t>(sizeof(literal) - 1), literal

class DosTree : public testing::Test {
 protected:
  void SetUp() override {
    saved_cwd_ = std::filesystem::current_path();
    char tmpl[] = "/tmp/corva-dos-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    base_ = tmpl;
    namespace fs = std::filesystem;
    fs::create_directories(root() + "/Data/Co1");
    fs::create_directories(root() + "/Data/Co2");
    fs::create_directories(base_ + "/e/Data");
    write("/Data/Co1/Ledger.dat", "ledger");
    write("/Data/Co1/INDEX.DAT", "index");
    setenv("CORVALIB_DRIVE_D", root().c_str(), 1);
    setenv("CORVALIB_DRIVE_E", (base_ + "/e").c_str(), 1);
    unsetenv("CORVALIB_DRIVE_Q");
    corva::platform::reset_current_directories();
  }
  void TearDown() override {
    std::filesystem::current_path(saved_cwd_);
    std::error_code ignored;
    std::filesystem::remove_all(base_, ignored);
    unsetenv("CORVALIB_DRIVE_D");
    unsetenv("CORVALIB_DRIVE_E");
    corva::platform::reset_current_directories();
  }
  std::string root() const { return base_ + "/d"; }
  void write(const std::string& below_root, const std::string& text) {
    std::ofstream(root() + below_root, std::ios::binary) << text;
  }
  bool is_host_dir(const std::string& below_root) const {
    return std::filesystem::is_directory(root() + below_root);
  }
  bool is_host_file(const std::string& below_root) const {
    // Exact case: the host file system tells "X" from "x".
    const std::filesystem::path p(root() + below_root);
    if (!std::filesystem::is_regular_file(p)) return false;
    for (const auto& e : std::filesystem::directory_iterator(p.parent_path()))
      if (e.path().filename() == p.filename()) return true;
    return false;
  }

 private:
  std::filesystem::path saved_cwd_;
  std::string base_;
};
