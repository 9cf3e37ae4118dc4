// Copying a set of files across disks, with progress, and undoing a copy.
#include <cstddef>
#include <cstring>
#include <new>
#include <string>
#include <string_view>

#include "corvalib/files.h"
#include "corvalib/frame.h"
#include "corvalib/text.h"
#include "corvaplat/modules.h"
#include "files/copy_io.h"
#include "files/finds.h"
#include "frame/boundary.h"
#include "text/bstr.h"

namespace corva::files {
namespace {

namespace bs = corva::text;

#pragma pack(push, 1)
// The copy's work record.
struct CopyWork {
  CvFindRecord find;
  CvxFileType source;
  CvxFileType dest;
  union {
    CvNameRecord parsed;
    char parsed_space[160];
  };
  char marker_path[80];
  char source_name[80];
  char saved_pattern[80];
  char dest_name[80];
  char continue_name[9];
  std::uint8_t buffer[16384];
  char source_pattern[261];
  char dest_dir[261];
};
#pragma pack(pop)

static_assert(sizeof(CopyWork) == 18237 && offsetof(CopyWork, source) == 280 &&
              offsetof(CopyWork, parsed) == 842 && offsetof(CopyWork, continue_name) == 1322 &&
              offsetof(CopyWork, source_pattern) == 17715);

constexpr std::uint16_t kBlock = 16384;
constexpr std::uint16_t kIdCancel = 2;
// Where no one can answer (no box shown, or a box answered by default), a full
// disk or a diskette prompt would come back forever; after this many rounds the
// copy takes the answer as Cancel.
constexpr int kMaxRounds = 64;

enum CopyResult : std::int16_t {
  kDone = 0, kSourceOpen = 1, kDestMake = 2, kNoSource = 3, kDiskFull = 4, kNoMemory = 5,
  kInUse = 6, kReadError = 7,
};

// Names of files at the destination (the destination file name, the marker,
// the names UndoCopy deletes) hold at most this many characters. A name that
// does not fit is not cut: a cut name would be another file's.
constexpr std::size_t kNameHigh = 79;

// Puts dir followed by name in out (HIGH 79), or answers false, leaving out
// alone, when together they do not fit.
bool join_name(char (&out)[kNameHigh + 1], std::string_view dir, std::string_view name) {
  if (dir.size() + name.size() > kNameHigh) return false;
  std::string joined(dir);
  joined += name;
  bs::write(kNameHigh, out, joined);
  return true;
}

template <std::size_t N>
std::string_view field(const char (&f)[N]) {
  return {f, strnlen(f, N)};
}

// The progress module of slot 5, when one is registered and opens a window.
class Progress {
 public:
  explicit Progress(CvHWND owner) {
    const CvHMODULE module = GetLibraryHandle(5);
    if (module == 0) return;
    auto begin = reinterpret_cast<CvBeginProgressNicely>(
        platform::GetProcAddress(module, "_BeginProgressNicely@16"));
    message_ = reinterpret_cast<CvProgressMessage>(
        platform::GetProcAddress(module, "_ProgressMessage@16"));
    check_ = reinterpret_cast<CvCheckForAbortProgress>(
        platform::GetProcAddress(module, "_CheckForAbortProgress@4"));
    mark_ = reinterpret_cast<CvMarkProgress>(platform::GetProcAddress(module, "_MarkProgress@4"));
    end_ = reinterpret_cast<CvEndProgress>(platform::GetProcAddress(module, "_EndProgress@4"));
    if (begin != nullptr) handle_ = begin(0, owner, 13, "Copying Files");
  }
  void message(const char* text) {
    if (handle_ != 0 && message_ != nullptr) message_(handle_, 1, 79, text);
  }
  void check() {
    // The answer does not stop the copy.
    if (handle_ != 0 && check_ != nullptr) check_(handle_);
  }
  void mark() {
    if (handle_ != 0 && mark_ != nullptr) mark_(handle_);
  }
  void end() {
    if (handle_ != 0 && end_ != nullptr) end_(&handle_);
  }

 private:
  std::uintptr_t handle_ = 0;
  CvProgressMessage message_ = nullptr;
  CvCheckForAbortProgress check_ = nullptr;
  CvMarkProgress mark_ = nullptr;
  CvEndProgress end_ = nullptr;
};

std::uint16_t show(std::uint16_t id) {
  const CopyIo& io = copy_io();
  return io.message != nullptr ? io.message(0, id) : 0;
}

// A prompt whose answer decides whether to go on: Cancel, no answer at all, or
// too many rounds stop.
bool user_goes_on(std::uint16_t id, int round) {
  const std::uint16_t answer = show(id);
  return answer != kIdCancel && answer != 0 && round < kMaxRounds;
}

void close_file(CvxFileType& f) {
  if (copy_io().close != nullptr) copy_io().close(&f);
}

bool have_files() {
  const CopyIo& io = copy_io();
  return io.lookup && io.create32 && io.read_block && io.write_block && io.file_length && io.close;
}

// CreateFileAndTest: makes the destination file named in the work record.
void create_destination(CopyWork& w, std::uint16_t dest_high, const char* dest,
                        std::int16_t& result) {
  const CopyIo& io = copy_io();
  if (!have_files()) {
    result = kDestMake;
    return;
  }
  io.create32(&w.dest, 79, w.dest_name);
  if (w.dest.result == 11) {
    result = kInUse;
    close_file(w.source);
    return;
  }
  if (w.dest.result == 4) {
    // One missing level of the destination is made.
    char dir[80];
    bs::assign(79, dir, dest_high, dest);
    const std::size_t n = bs::length(79, dir);
    if (n != 0 && dir[n - 1] == '\\') dir[n - 1] = '\0';
    MakeDir(79, dir);
    io.lookup(&w.dest, 79, w.dest_name, 1);
  }
  if (w.dest.result != 0) {
    result = kDestMake;
    close_file(w.source);
  }
}

// Steps of one file: open, room on the destination, the blocks. A nonzero
// answer ends the copy.
std::int16_t copy_one(CopyWork& w, Progress& progress, std::uint16_t drive) {
  const CopyIo& io = copy_io();
  if (!have_files()) return kSourceOpen;
  std::string name(field(w.parsed.drive));
  name += field(w.parsed.directory);
  name += bs::view(259, w.find.name);
  bs::write(79, w.source_name, name);
  progress.message(w.source_name);
  io.lookup(&w.source, 79, w.source_name, 0);
  if (w.source.result != 0) return w.source.result == 11 ? kInUse : kSourceOpen;

  std::int32_t length = 0;
  io.file_length(&w.source, &length);
  if (!join_name(w.dest_name, bs::view(260, w.dest_dir), bs::view(259, w.find.name))) {
    close_file(w.source);
    return kDestMake;
  }
  int round = 0;
  progress.check();
  std::int16_t result = kDone;
  create_destination(w, 260, w.dest_dir, result);
  if (result != kDone) return result;

  while (static_cast<std::uint32_t>(GetDiskSpace(drive)) < static_cast<std::uint32_t>(length)) {
    close_file(w.dest);
    FileDelete(79, w.dest_name);
    if (w.marker_path[0] != '\0') {
      io.create32(&w.dest, 79, w.marker_path);  // the set continues on another disk
      close_file(w.dest);
    }
    if (!user_goes_on(round == 0 ? 21011 : 21012, round + 1)) {
      close_file(w.source);
      return kDiskFull;
    }
    ++round;
    if (w.marker_path[0] != '\0') FileDelete(79, w.marker_path);
    create_destination(w, 260, w.dest_dir, result);
    if (result != kDone) return result;
  }

  while (!w.source.eof) {
    io.read_block(&w.source, kBlock, w.buffer);
    progress.check();
    if (w.source.result != 0) {
      const std::int16_t r = w.source.result == 11 ? kInUse : kReadError;
      close_file(w.source);
      close_file(w.dest);
      return r;
    }
    const std::uint16_t got = w.source.lastCount;
    if (got > 0) {
      io.write_block(&w.dest, got, w.buffer);
      if (w.dest.lastCount != got) {
        close_file(w.source);
        close_file(w.dest);
        return kDiskFull;
      }
    }
    progress.check();
  }
  close_file(w.source);
  close_file(w.dest);
  return kDone;
}

std::int16_t copy_files(CopyWork& w, CvHWND owner, std::uint16_t source_high, const char* source,
                        std::uint16_t dest_high, const char* dest) {
  if (dest == nullptr) {
    // No destination: nothing can be made (an empty one would be the current directory).
    show(static_cast<std::uint16_t>(21000 + kDestMake));
    return kDestMake;
  }
  bs::assign(260, w.source_pattern, source_high, source);
  bs::assign(260, w.dest_dir, dest_high, dest);
  Progress progress(owner);
  bs::assign(79, w.saved_pattern, 260, w.source_pattern);
  std::memcpy(w.continue_name, "CONTINUE", 9);

  ParseFileName(260, w.dest_dir, &w.parsed);
  const std::uint16_t drive =
      w.parsed.drive[0] != '\0' ? static_cast<std::uint16_t>(w.parsed.drive[0] - 'A' + 1) : 0;
  // A marker name that does not fit is left empty: no marker is made or deleted.
  w.marker_path[0] = '\0';
  if (join_name(w.marker_path, bs::view(260, w.dest_dir), field(w.continue_name)))
    FileDelete(79, w.marker_path);
  ParseFileName(260, w.source_pattern, &w.parsed);

  std::int16_t result = kDone;
  for (int disk = 1;; ++disk) {
    bool saw_marker = false;
    if (!CVXFindFirstFile(&w.find, 260, w.source_pattern, 0)) {
      result = kNoSource;
      break;
    }
    bool more = true;
    while (more && result == kDone) {
      if (CompareStr(259, w.find.name, 8, w.continue_name) == 0) {
        saw_marker = true;
      } else if ((w.find.attrib & (0x08 | 0x10)) == 0) {
        result = copy_one(w, progress, drive);
        if (result != kDone) break;
      }
      progress.mark();
      more = CVXFindNextFile(260, w.source_pattern, &w.find, 0);
    }
    if (result != kDone || !saw_marker) break;
    if (!user_goes_on(21013, disk)) break;
    bs::assign(260, w.source_pattern, 79, w.saved_pattern);
  }
  close_find();  // a copy that failed mid-search leaves none open
  if (result != kDone) show(static_cast<std::uint16_t>(21000 + result));
  progress.end();
  return result;
}

}  // namespace
}  // namespace corva::files

using namespace corva;

extern "C" {

int16_t CVXCopyFile(CvHWND owner, uint16_t sourceHigh, const char* source, uint16_t destHigh,
                    const char* dest) try {
  void* memory = nullptr;
  if (!_CppAllocate(&memory, sizeof(files::CopyWork), "XTRAFILE", __LINE__)) return files::kNoMemory;
  auto* work = new (memory) files::CopyWork;
  const int16_t result = files::copy_files(*work, owner, sourceHigh, source, destHigh, dest);
  _RealDeAllocate(memory);
  return result;
} CORVA_BOUNDARY(files::kNoMemory)

void UndoCopy(uint16_t sourceHigh, const char* source, uint16_t destHigh, const char* dest,
              int16_t result) try {
  if (result == files::kDestMake || result == files::kNoSource || result == files::kNoMemory ||
      dest == nullptr)
    return;
  char pattern[81], dir[81];
  text::assign(80, pattern, sourceHigh, source);
  text::assign(80, dir, destHigh, dest);
  std::string_view folder = text::view(80, dir);
  if (!folder.empty() && folder.back() == '\\') folder.remove_suffix(1);
  std::string prefix(folder);
  if (!prefix.empty()) prefix += '\\';
  CvFindRecord find{};
  for (bool more = CVXFindFirstFile(&find, 80, pattern, 0); more;
       more = CVXFindNextFile(80, pattern, &find, 0)) {
    if (find.attrib & (0x08 | 0x10)) continue;
    // The copy made no file whose name would not fit; nothing is cut to another's name.
    char path[files::kNameHigh + 1];
    if (files::join_name(path, prefix, text::view(259, find.name))) FileDelete(79, path);
  }
} CORVA_BOUNDARY()

void CreateFileAndTest(void* work, uint16_t destHigh, const char* dest, int16_t* resultOut) try {
  if (work == nullptr || resultOut == nullptr) return;
  files::create_destination(*static_cast<files::CopyWork*>(work), destHigh, dest, *resultOut);
} CORVA_BOUNDARY()

}  // extern "C"
