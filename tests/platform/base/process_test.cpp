// The process's own files, the words of error numbers, and the final check of
// standard output.
#include <corvaplat/api.h>
#include <corvaplat/process.h>
#include <corvaplat/sys.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <string>

namespace corva::platform {
namespace {

// A file system of symbolic links only: path -> target.
std::map<std::string, std::string>* g_links = nullptr;

long fake_readlink(const char* path, char* buffer, std::size_t size) {
  const auto it = g_links->find(path);
  if (it == g_links->end()) {
    errno = EINVAL;  // not a link
    return -1;
  }
  const std::size_t n = std::min(size, it->second.size());
  std::memcpy(buffer, it->second.data(), n);
  return static_cast<long>(n);
}

TEST(ProcessFiles, ExecutablePathFollowsEveryLink) {
  struct Case {
    std::map<std::string, std::string> links;
    std::string expected;
  } cases[] = {
      {{{"/proc/self/exe", "/opt/corva/bin/corva"}}, "/opt/corva/bin/corva"},
      // A relative target counts from the directory of the link.
      {{{"/proc/self/exe", "/usr/bin/corva"}, {"/usr/bin/corva", "../lib/corva/corva-1.0"}},
       "/usr/bin/../lib/corva/corva-1.0"},
      // A loop of links leads nowhere.
      {{{"/proc/self/exe", "/a"}, {"/a", "/b"}, {"/b", "/a"}}, ""},
      {{{"/proc/self/exe", ""}}, ""},
  };
  SysOverride table;
  table.calls().readlink = fake_readlink;
  for (auto& c : cases) {
    g_links = &c.links;
    EXPECT_EQ(executable_path(), c.expected) << c.links.begin()->second;
  }
  g_links = nullptr;
}

TEST(ProcessFiles, LoadedLibraryIsFoundByTheStartOfItsName) {
  EXPECT_NE(loaded_library_path("libc.so").find("libc"), std::string::npos);
  EXPECT_EQ(loaded_library_path("libno-such-library.so"), "");
  EXPECT_EQ(loaded_library_path(""), "");
}

TEST(ErrorText, EveryReportedNumberHasWords) {
  for (std::uint32_t e :
       {kErrorFileNotFound, kErrorPathNotFound, kErrorAccessDenied, kErrorSharingViolation,
        kErrorLockViolation, kErrorDiskFull, kErrorWriteFault, kErrorInvalidName,
        kErrorFilenameTooLong, kErrorResourceNameNotFound}) {
    const std::string words = error_text(e);
    EXPECT_EQ(words.find_first_of("0123456789"), std::string::npos) << e << ": " << words;
  }
  EXPECT_EQ(error_text(kErrorDiskFull), "the disk is full");
  EXPECT_EQ(error_text(4242), "error 4242");
}

}  // namespace
}  // namespace corva::platform
