// The buffered file variable: opens and their result codes, characters and
// line ends, lines, words, positions, blocks, a full medium, locks.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "corvalib/files.h"
#include "corvaplat/clock.h"
#include "corvaplat/files.h"
#include "corvaplat/sys.h"
#include "support/temp_dir.h"

namespace {
namespace plat = corva::platform;

class BufferedFiles : public testing::Test {
 protected:
  corva::test::TempDir dir;
  CvxFileType f{};
  std::string name(const std::string& n) const { return dir.file(n); }
  void open_text(const std::string& bytes) {
    dir.write("t.txt", bytes);
    Lookup(&f, 79, name("t.txt").c_str(), 0);
    ASSERT_EQ(+f.result, 0);
  }
  std::string read_chars(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) {
      char c = 'x';
      ReadChar(&f, &c);
      s += c;
    }
    return s;
  }
  void TearDown() override {
    if (f.signature == CVX_FILE_SIGNATURE && f.handle != 0) Close(&f);
    EXPECT_EQ(plat::open_file_count(), 0);
  }
};

TEST_F(BufferedFiles, OpenResults) {
  dir.write("there.dat", "abc");
  dir.mkdir("folder");
  struct Case {
    const char* what;
    std::string file;
    int result;
  };
  const Case cases[] = {
      {"missing", name("missing.dat"), CVX_FILE_NOT_FOUND},
      {"missing directory", name("nodir/x.dat"), CVX_FILE_PATH_NOT_FOUND},
      {"directory", name("folder"), CVX_FILE_ACCESS_DENIED},
      {"empty name", "", CVX_FILE_PATH_NOT_FOUND},
      {"300 characters", name(std::string(300, 'n')), CVX_FILE_PATH_NOT_FOUND},
      {"present", name("there.dat"), CVX_FILE_DONE},
  };
  for (const Case& c : cases) {
    CvxFileType v{};
    v.signature = 77;  // a failed open leaves the variable unopened
    Lookup(&v, 79, c.file.c_str(), 0);
    EXPECT_EQ(+v.result, +c.result) << c.what;
    EXPECT_EQ(+v.signature == CVX_FILE_SIGNATURE, +c.result == 0) << c.what;
    if (c.result == 0) {
      EXPECT_EQ(v.eof, 0);
      EXPECT_EQ(v.isNew, 0);
      Close(&v);
    }
  }
  Lookup(&f, 79, nullptr, 0);
  EXPECT_EQ(+f.result, CVX_FILE_PATH_NOT_FOUND);
}

TEST_F(BufferedFiles, CreateAndCreate32) {
  dir.write("keep.dat", "contents");
  Create32(&f, 0, name("keep.dat").c_str());
  EXPECT_EQ(+f.result, 0);
  EXPECT_EQ(f.isNew, 1);
  EXPECT_EQ(f.eof, 1);
  int32_t length = -1;
  FileLength(&f, &length);
  EXPECT_EQ(length, 8);
  // An exclusive open keeps others out, also another variable of this process.
  CvxFileType other{};
  Lookup(&other, 79, name("keep.dat").c_str(), 0);
  EXPECT_EQ(+other.result, CVX_FILE_ACCESS_DENIED);
  Close(&f);
  Create(&f, 0, name("keep.dat").c_str());
  EXPECT_EQ(+f.result, 0);
  FileLength(&f, &length);
  EXPECT_EQ(length, 0);
  Close(&f);
  Lookup(&f, 0, name("made.dat").c_str(), 1);
  EXPECT_EQ(+f.result, 0);
  EXPECT_EQ(f.isNew, 1);
  // CvxOpenFile reports into the second word of the caller's record only.
  std::uint16_t record[2] = {0xAAAA, 0};
  EXPECT_EQ(CvxOpenFile(name("none.dat").c_str(), record, CVX_OF_READ), -1);
  EXPECT_EQ(record[0], 0xAAAA);
  EXPECT_EQ(record[1], 2);
  const int32_t h = CvxOpenFile(name("new.dat").c_str(), record,
                                CVX_OF_CREATE | CVX_OF_READWRITE | CVX_OF_SHARE_DENY_NONE);
  ASSERT_GT(h, 0);
  plat::_lclose(h);
}

TEST_F(BufferedFiles, LineEndsAndCtrlZ) {
  open_text(std::string("A\r\nB\nC\r\x1a", 8));
  EXPECT_EQ(read_chars(7), std::string("A\x1e"
                                       "B\x1e"
                                       "C\x1e",
                                       6) +
                               '\0');
  EXPECT_EQ(f.eof, 1);
  EXPECT_EQ(+f.result, 0);
  char c = 'x';
  ReadChar(&f, &c);
  EXPECT_EQ(+f.result, CVX_FILE_WRONG_USE);
  EXPECT_EQ(c, 0);
}

TEST_F(BufferedFiles, CarriageReturnAcrossTheBuffer) {
  std::string text(255, 'a');
  text += "\r\nz";
  open_text(text);
  std::string s = read_chars(258);
  EXPECT_EQ(s.substr(255), std::string("\x1e"
                                       "z") +
                               '\0');
  EXPECT_EQ(f.eof, 1);
  int32_t pos = 0;
  GetPos(&f, &pos);
  EXPECT_EQ(pos, 258);
}

TEST_F(BufferedFiles, ReadLn) {
  open_text("ABCDEF\r\nsecond\nlast");
  struct Case {
    uint16_t high;
    const char* text;
    uint16_t count;
  };
  const Case cases[] = {{0, "", 0},  {3, "ABC", 3},   {10, "DEF", 3}, {6, "second", 6},
                        {10, "", 0}, {10, "last", 4}, {10, "", 0}};
  for (const Case& c : cases) {
    char line[12];
    std::memset(line, '#', sizeof line);
    EXPECT_EQ(ReadLn(&f, c.high, line), c.count) << c.text;
    EXPECT_STREQ(line, c.text);
    for (int i = c.count; i <= c.high; ++i) EXPECT_EQ(line[i], 0);
  }
  EXPECT_EQ(+f.result, CVX_FILE_WRONG_USE);  // the last call read past the end
}

// ReadLn takes the buffer in runs; it must deliver what the one-character
// definition delivers (ReadChar until a line end, the end, an error or HIGH),
// for texts full of line ends, Ctrl-Z and end-of-line bytes at every place of
// the buffer, and for texts of long lines whose runs meet the buffer's end.
TEST_F(BufferedFiles, ReadLnMatchesReadCharByCharacter) {
  std::uint32_t seed = 12345;
  auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
  const char specials[] = {13, 10, 26, 30, 0};
  for (int round = 0; round < 20; ++round) {
    std::string text;
    const std::size_t size = 200 + next() % 1500;
    const unsigned spacing = round % 2 == 0 ? 8 : 150;  // one special byte in so many
    while (text.size() < size) {
      text += (next() % spacing == 0) ? specials[next() % 5] : static_cast<char>('a' + next() % 26);
    }
    dir.write("r.txt", text);
    CvxFileType fast{}, slow{};
    MultiLookup(&fast, 0, name("r.txt").c_str(), 1, 1, 0);
    MultiLookup(&slow, 0, name("r.txt").c_str(), 1, 1, 0);
    for (int call = 0; call < 400; ++call) {
      const uint16_t high = static_cast<uint16_t>(next() % 256);
      char a[257], b[257];
      std::memset(a, '#', sizeof a);
      std::memset(b, '#', sizeof b);
      const uint16_t got = ReadLn(&fast, high, a);
      uint16_t want = 0;
      while (want < high) {
        char c = 0;
        ReadChar(&slow, &c);
        if (c == CVX_EOL || slow.result != 0 || slow.eof) break;
        b[want++] = c;
      }
      std::memset(b + want, 0, high + 1u - want);
      ASSERT_EQ(got, want) << "round " << round << " call " << call;
      ASSERT_EQ(std::memcmp(a, b, high + 1u), 0) << "round " << round << " call " << call;
      ASSERT_EQ(+fast.result, +slow.result);
      ASSERT_EQ(fast.eof, slow.eof);
      ASSERT_EQ(+fast.bufIndex, +slow.bufIndex);
      ASSERT_EQ(+fast.lastItem, +slow.lastItem);
      if (fast.result != 0) break;
    }
    Close(&fast);
    Close(&slow);
  }
}

TEST_F(BufferedFiles, WriteLnAndDirection) {
  Create(&f, 0, name("w.txt").c_str());
  EXPECT_EQ(WriteLn(&f, 5, "AB"), 4);
  EXPECT_EQ(std::string(f.buffer, 4), "AB\r\n");
  EXPECT_EQ(dir.read("w.txt"), "");     // still in the buffer
  EXPECT_EQ(WriteLn(&f, 1, "xyz"), 4);  // cut at HIGH
  char c = 0;
  ReadChar(&f, &c);
  EXPECT_EQ(+f.result, CVX_FILE_WRONG_USE);
  int32_t pos = 0;
  GetPos(&f, &pos);
  EXPECT_EQ(pos, 8);
  SetPos(&f, 2);
  EXPECT_EQ(dir.read("w.txt"), "AB\r\nxy\r\n");
  FileReset(&f);
  EXPECT_EQ(read_chars(3), "AB\x1e");
  WriteChar(&f, 'q');
  EXPECT_EQ(+f.result, CVX_FILE_WRONG_USE);
  FileReset(&f);
  WriteChar(&f, 'q');
  EXPECT_EQ(+f.result, 0);
  Flush(&f);  // the system's buffers only: 'q' still waits in ours
  EXPECT_EQ(+f.result, 0);
  EXPECT_EQ(+f.bufIndex, 1);
  EXPECT_NE(GetHandle(&f), 0);
  Close(&f);
  EXPECT_EQ(GetHandle(&f), 0);
  EXPECT_EQ(+f.result, CVX_FILE_NOT_OPEN);
  EXPECT_EQ(dir.read("w.txt"), "qB\r\nxy\r\n");
}

TEST_F(BufferedFiles, WordsAndAgain) {
  Create(&f, 0, name("words.dat").c_str());
  for (uint16_t w : {0x1234, 0xFFFE, 0x000A}) WriteWord(&f, w);
  FileReset(&f);
  uint16_t w = 0;
  ReadWord(&f, &w);
  EXPECT_EQ(w, 0x1234);
  Again(&f);
  ReadWord(&f, &w);
  EXPECT_EQ(w, 0x1234);
  ReadWord(&f, &w);
  EXPECT_EQ(w, 0xFFFE);
  ReadWord(&f, &w);
  EXPECT_EQ(w, 0x000A);  // no line-end translation for words
  ReadWord(&f, &w);
  EXPECT_EQ(w, 0);
  EXPECT_EQ(f.eof, 1);
  FileReset(&f);
  EXPECT_EQ(read_chars(1), "\x34");
  Again(&f);
  EXPECT_EQ(read_chars(2), "\x34\x12");
}

TEST_F(BufferedFiles, PositionAfterBufferedReads) {
  open_text(std::string(1000, 'k'));
  read_chars(10);
  int32_t pos = -1;
  GetPos(&f, &pos);
  EXPECT_EQ(pos, 10);
  EXPECT_EQ(plat::_llseek(GetHandle(&f), 0, plat::FILE_CURRENT), 256);
  int32_t length = 0;
  FileLength(&f, &length);
  EXPECT_EQ(length, 1000);
  GetPos(&f, &pos);
  EXPECT_EQ(pos, 10);
}

// Every checked operation on an unopened or closed variable gives 6 and
// changes nothing else.
TEST_F(BufferedFiles, NotAnOpenFileVariable) {
  CvxFileType garbage;
  std::memset(&garbage, 0x5A, sizeof garbage);
  CvxFileType closed{};
  Create(&closed, 0, name("c.dat").c_str());
  Close(&closed);
  for (CvxFileType* v : {&garbage, &closed}) {
    const CvxFileType before = *v;
    auto same_but_result = [&] {
      CvxFileType a = *v, b = before;
      a.result = b.result = 0;
      return std::memcmp(&a, &b, sizeof a) == 0;
    };
    char c;
    uint16_t w;
    int32_t n = 0;
    char line[4];
    CvxLockRegion r{0, 1};
    const std::vector<std::function<void()>> ops = {
        [&] { ReadChar(v, &c); },
        [&] { ReadWord(v, &w); },
        [&] { WriteChar(v, 'a'); },
        [&] { WriteWord(v, 1); },
        [&] { Again(v); },
        [&] { ReadLn(v, 3, line); },
        [&] { WriteLn(v, 3, "ab"); },
        [&] { SetPos(v, 0); },
        [&] { GetPos(v, &n); },
        [&] { FileLength(v, &n); },
        [&] { FileReset(v); },
        [&] { EXPECT_EQ(GetHandle(v), 0); },
        [&] { EXPECT_FALSE(CheckFile(v, 0)); },
        [&] { Close(v); },
        [&] { Flush(v); },
        [&] { EXPECT_FALSE(Lock(v, &r)); },
        [&] { EXPECT_EQ(UnLock(v, &r), 9); },
        [&] { EXPECT_FALSE(ReadLongBlock(v, 1, line)); },
    };
    for (std::size_t i = 0; i < ops.size(); ++i) {
      v->result = 0;
      ops[i]();
      EXPECT_EQ(+v->result, CVX_FILE_NOT_OPEN) << "operation " << i;
      EXPECT_TRUE(same_but_result()) << "operation " << i;
    }
    // The block transfers look at the signature only: a closed variable's
    // handle 0 is refused by the system instead.
    const int block_result = v == &garbage ? CVX_FILE_NOT_OPEN : CVX_FILE_FAILED;
    EXPECT_FALSE(ReadBlock(v, 1, line));
    EXPECT_EQ(+v->result, block_result);
    EXPECT_FALSE(WriteBlock(v, 1, line));
    EXPECT_EQ(+v->result, block_result);
  }
  // Null pointers are refused quietly.
  ReadChar(nullptr, nullptr);
  EXPECT_EQ(ReadLn(nullptr, 3, nullptr), 0);
  EXPECT_FALSE(Lock(nullptr, nullptr));
  open_text("x");
  EXPECT_EQ(CheckFile(&f, 5), 0);
  EXPECT_EQ(+f.result, CVX_FILE_WRONG_USE);
  EXPECT_EQ(+f.direction, CVX_DIR_NONE);
}

TEST_F(BufferedFiles, BlocksAndLongBlocks) {
  Create(&f, 0, name("b.dat").c_str());
  std::vector<char> data(200000);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7);
  EXPECT_TRUE(WriteLongBlock(&f, static_cast<int32_t>(data.size()), data.data()));
  EXPECT_TRUE(WriteBlock(&f, 3, "end"));
  SetPos(&f, 0);
  std::vector<char> back(data.size());
  EXPECT_TRUE(ReadLongBlock(&f, static_cast<int32_t>(back.size()), back.data()));
  EXPECT_EQ(back, data);
  char tail[8] = {};
  EXPECT_TRUE(ReadBlock(&f, 8, tail));
  EXPECT_EQ(+f.lastCount, 3);
  EXPECT_EQ(f.eof, 1);
  EXPECT_STREQ(tail, "end");
  EXPECT_FALSE(ReadLongBlock(&f, 10, back.data()));
  EXPECT_EQ(+f.result, CVX_FILE_FAILED);
  EXPECT_EQ(f.eof, 1);
  EXPECT_FALSE(WriteLongBlock(&f, -1, data.data()));
  SetPos(&f, -5);
  EXPECT_EQ(+f.result, CVX_FILE_FAILED);
}

// Fault loop: the medium holds only `room` more bytes. Whatever the room,
// the file holds a prefix of the text, a write that did not fit says 8 and
// sets eof, and nothing is lost once there is room again.
long g_room = 0;
long short_pwrite(int fd, const void* b, std::size_t n, std::int64_t at) {
  if (g_room <= 0) {
    errno = ENOSPC;
    return -1;
  }
  const std::size_t take =
      n < static_cast<std::size_t>(g_room) ? n : static_cast<std::size_t>(g_room);
  const long done = plat::real_sys().pwrite(fd, b, take, at);
  if (done > 0) g_room -= done;
  return done;
}

TEST_F(BufferedFiles, EveryFullMediumKeepsAPrefix) {
  std::string expected;
  for (int i = 0; i < 60; ++i) expected += "line " + std::to_string(i) + " of the ledger\r\n";
  for (long room = 0; room <= static_cast<long>(expected.size()) + 40; room += 37) {
    CvxFileType w{};
    Create(&w, 0, name("fault.txt").c_str());
    int lines = 0;
    bool full = false;
    {
      plat::SysOverride o;
      g_room = room;
      o.calls().pwrite = short_pwrite;
      for (; lines < 60 && !full; ++lines) {
        const std::string line = "line " + std::to_string(lines) + " of the ledger";
        WriteLn(&w, 79, line.c_str());
        full = w.result == CVX_FILE_MEDIUM_FULL;
      }
      if (!full) {
        Close(&w);
        full = w.result == CVX_FILE_MEDIUM_FULL;
      }
      if (full) {
        // The block writes say so too, and a close keeps the file open while
        // its buffer waits.
        EXPECT_FALSE(WriteBlock(&w, 4, "more")) << room;
        EXPECT_FALSE(WriteLongBlock(&w, 4, "more")) << room;
        EXPECT_EQ(+w.result, CVX_FILE_MEDIUM_FULL) << room;
        Close(&w);
        EXPECT_EQ(+w.result, CVX_FILE_MEDIUM_FULL) << room;
        EXPECT_NE(w.handle, 0) << room;
      }
      const std::string kept = dir.read("fault.txt");
      EXPECT_EQ(full, room < static_cast<long>(expected.size())) << room;
      EXPECT_EQ(kept, expected.substr(0, static_cast<std::size_t>(room))) << room;
      EXPECT_EQ(w.eof, full ? 1 : 0) << room;
    }
    // With room again, closing writes what waited, right after what fitted.
    if (w.handle != 0) Close(&w);
    EXPECT_EQ(+w.result, 0) << room;
    const std::string after = dir.read("fault.txt");
    EXPECT_EQ(after, expected.substr(0, after.size())) << room;
  }
}

TEST_F(BufferedFiles, LocksRetryThroughTheClock) {
  dir.write("rec.dat", std::string(512, 'r'));
  Lookup(&f, 0, name("rec.dat").c_str(), 0);
  CvxFileType g{};
  MultiLookup(&g, 0, name("rec.dat").c_str(), 1, 1, 0);  // shared reading alongside
  EXPECT_EQ(+g.result, CVX_FILE_DONE);
  read_chars(5);
  CvxLockRegion r{100, 50};
  EXPECT_TRUE(Lock(&f, &r));
  int32_t pos = 0;
  GetPos(&f, &pos);
  EXPECT_EQ(pos, 5);  // the logical position survives the lock
  plat::ManualClock clock;
  plat::Clock* saved = plat::set_clock(&clock);
  CvxLockRegion inside{120, 1};
  EXPECT_FALSE(Lock(&g, &inside));
  EXPECT_EQ(clock.sleeps(), 9);
  EXPECT_EQ(clock.slept().count(), 9000);
  plat::set_clock(saved);
  EXPECT_EQ(UnLock(&g, &inside), 13);
  EXPECT_EQ(UnLock(&f, &r), 0);
  EXPECT_TRUE(Lock(&g, &inside));
  EXPECT_TRUE(ShareIsLoaded(&f));
  {
    // A host file system that cannot lock at all.
    plat::SysOverride o;
    o.calls().fcntl = [](int, int, void*) -> int {
      errno = ENOLCK;
      return -1;
    };
    EXPECT_FALSE(ShareIsLoaded(&f));
  }
  CvxLockRegion bad{-1, 4};
  EXPECT_EQ(UnLock(&f, &bad), 22);
  EXPECT_EQ(read_chars(1), "r");
  Close(&g);
}

}  // namespace
