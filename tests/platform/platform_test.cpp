// The platform layer's services as the library and hosts rely on them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "corvaplat/platform.h"

namespace {
using namespace corva::platform;

TEST(Platform, ModulesAndStrings) {
  const StringResource strings[] = {{7, "seven"}};
  const ModuleHandle m = register_module("Helper-Test.DLL", strings);
  ASSERT_NE(m, 0u);
  EXPECT_EQ(GetModuleHandleA("helper-test.dll"), m);
  EXPECT_EQ(LoadLibraryA("HELPER-TEST.DLL"), m);
  char buf[4];
  EXPECT_EQ(LoadStringA(m, 7, buf, 4), 3);
  EXPECT_STREQ(buf, "sev");
  EXPECT_EQ(LoadStringA(m, 8, buf, 4), 0);
  EXPECT_EQ(LoadStringA(m, 7, buf, 0), 0);
  EXPECT_EQ(GetProcAddress(m, "nothing"), nullptr);
  EXPECT_EQ(GetLastError(), 127u);
  EXPECT_EQ(LoadLibraryA("no-such-module-here"), 0u);
  EXPECT_EQ(GetLastError(), 126u);
  unregister_module(m);
  EXPECT_EQ(LoadStringA(m, 7, buf, 4), 0);
}

TEST(Platform, AtomsCountReferences) {
  const Atom a = GlobalAddAtomA("Test Atom");
  EXPECT_GE(a, 0xC000);
  EXPECT_EQ(GlobalAddAtomA("TEST ATOM"), a);
  EXPECT_EQ(GlobalDeleteAtom(a), 0);
  EXPECT_EQ(GlobalFindAtomA("test atom"), a);
  EXPECT_EQ(GlobalDeleteAtom(a), 0);
  EXPECT_EQ(GlobalFindAtomA("test atom"), 0);
  EXPECT_EQ(GlobalDeleteAtom(a), a);
  EXPECT_EQ(GlobalAddAtomA(""), 0);
  EXPECT_EQ(GlobalAddAtomA(nullptr), 0);
}

TEST(Platform, MessageBoxDefaults) {
  struct Case { std::uint32_t style; int button; };
  const Case cases[] = {{MB_OK, IDOK}, {MB_YESNO, IDYES}, {MB_YESNO | MB_DEFBUTTON2, IDNO},
                        {MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, IDIGNORE},
                        {MB_OKCANCEL | MB_DEFBUTTON3, IDOK}, {MB_RETRYCANCEL, IDRETRY}};
  for (const Case& c : cases) EXPECT_EQ(default_button(c.style), c.button) << c.style;
  testing::internal::CaptureStderr();
  EXPECT_EQ(MessageBoxA(0, "Disk full", "Ledger", MB_YESNOCANCEL | MB_DEFBUTTON2), IDNO);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("[Ledger] Disk full"), std::string::npos);
}

TEST(Platform, ConfigurationFromEnvironment) {
  setenv("CORVALIB_WINDIR", "/tmp/corva-windir-test", 1);
  setenv("CORVALIB_DRIVE_Q", "/srv/q", 1);
  reload_configuration();
  EXPECT_EQ(windows_directory(), "/tmp/corva-windir-test");
  EXPECT_EQ(drive_root('q').value_or(""), "/srv/q");
  EXPECT_EQ(drive_root('C').value_or(""), "/");
  EXPECT_FALSE(drive_root('R').has_value());
  unsetenv("CORVALIB_DRIVE_Q");
  reload_configuration();
}

TEST(Platform, UpperCaseCodePage) {
  char text[] = "abz\xe0\xff\x9a!";
  CharUpperA(text);
  EXPECT_STREQ(text, "ABZ\xc0\x9f\x8a!");
  EXPECT_EQ(CharUpperA(nullptr), nullptr);
}

TEST(Platform, ManualClockDrivesTime) {
  ManualClock manual(std::chrono::sys_days{std::chrono::year{2024} / 2 / 29} + std::chrono::hours{13});
  Clock* previous = set_clock(&manual);
  const LocalTime t = GetLocalTime();
  EXPECT_EQ(t.year, 2024);
  EXPECT_EQ(t.month, 2);
  EXPECT_EQ(t.day, 29);
  EXPECT_EQ(t.hour, 13);
  EXPECT_EQ(t.day_of_week, 4);
  Sleep(250);
  EXPECT_EQ(manual.slept(), std::chrono::milliseconds{250});
  set_clock(previous);
}

}  // namespace
