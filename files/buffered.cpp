#include "files/buffered.h"

#include <corvaplat/files.h>

#include <cstddef>
#include <cstring>
#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "text/bstr.h"

namespace corva::files {
namespace plat = corva::platform;

static_assert(sizeof(File) == 281, "the file variable is 281 bytes");
static_assert(offsetof(File, result) == 0 && offsetof(File, eof) == 4 &&
                  offsetof(File, isNew) == 5 && offsetof(File, lastCount) == 6 &&
                  offsetof(File, handle) == 8 && offsetof(File, direction) == 10 &&
                  offsetof(File, again) == 14 && offsetof(File, lastItem) == 15 &&
                  offsetof(File, buffer) == 17 && offsetof(File, bufIndex) == 273 &&
                  offsetof(File, bufCount) == 275 && offsetof(File, signature) == 277,
              "file variable fields follow each other without gaps");
static_assert(sizeof(CvxLockRegion) == 8, "a lock region is two 32-bit values");

namespace {

constexpr std::uint16_t kBufferSize = 256;
constexpr std::size_t kLongestName = 259;
constexpr char kCr = 13, kLf = 10, kCtrlZ = 26;

// A name as the services take it: up to its NUL, but never read further than
// one character past the longest name, which is then refused as too long.
std::string bounded_name(const char* name) {
  if (name == nullptr) return {};
  return std::string(name, strnlen(name, kLongestName + 1));
}

void set_up(File& f, plat::HFILE h, bool eof, bool is_new) {
  f.handle = static_cast<std::uint16_t>(h);
  f.direction = CVX_DIR_NONE;
  f.again = 0;
  f.buffer[0] = 0;
  f.bufIndex = 0;
  f.bufCount = 0;
  f.signature = CVX_FILE_SIGNATURE;
  f.result = CVX_FILE_DONE;
  f.eof = eof ? 1 : 0;
  f.isNew = is_new ? 1 : 0;
}

void fail_open(File& f, std::uint32_t error) { f.result = result_from_error(error); }

// The bytes that ReadChar turns into something else, or that end a line.
bool special(unsigned char c) { return c == kCr || c == kLf || c == kCtrlZ || c == CVX_EOL; }

// Copies the run of ordinary bytes at `from` (at most n of them) to `to` and
// answers its length. While at least 16 bytes may be read at `from`
// (from_room) and written at `to` (to_room), whole blocks are moved and
// searched at once; bytes written past the run are left for the caller to
// overwrite. Both rooms are at least n.
std::size_t copy_ordinary(const char* from, std::size_t from_room, char* to, std::size_t to_room,
                          std::size_t n) {
  std::size_t i = 0;
#if defined(__SSE2__)
  // Every special byte is below 32: a block without such bytes needs no
  // closer look, and most blocks of a text are such.
  const __m128i below = _mm_set1_epi8(31);
  const __m128i cr = _mm_set1_epi8(kCr), lf = _mm_set1_epi8(kLf);
  const __m128i ctrl_z = _mm_set1_epi8(kCtrlZ), eol = _mm_set1_epi8(CVX_EOL);
  const auto specials = [&](__m128i v) -> unsigned {
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(v, below), v)) == 0) return 0;
    const __m128i hit =
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)),
                     _mm_or_si128(_mm_cmpeq_epi8(v, ctrl_z), _mm_cmpeq_epi8(v, eol)));
    return static_cast<unsigned>(_mm_movemask_epi8(hit));
  };
  const std::size_t room = std::min(from_room, to_room);
  // Blocks wholly inside the run's limit, then the block that holds it.
  for (const std::size_t whole = std::min(n, room); i + 16 <= whole; i += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), v);
    if (const unsigned stops = specials(v); stops != 0)
      return i + static_cast<std::size_t>(__builtin_ctz(stops));
  }
  if (i < n && i + 16 <= room) {  // here n - i < 16
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), v);
    return i + static_cast<std::size_t>(__builtin_ctz(specials(v) | 1u << (n - i)));
  }
#endif
  for (; i < n && !special(static_cast<unsigned char>(from[i])); ++i) to[i] = from[i];
  return i;
}

// The next raw byte of the buffer, refilling it first when used up; false
// when the refill brought nothing.
bool next_byte(File& f, unsigned char& b) {
  if (f.bufIndex >= f.bufCount || f.bufIndex >= kBufferSize) {
    if (!fill_buffer(f)) return false;
  }
  b = static_cast<unsigned char>(f.buffer[f.bufIndex++]);
  return true;
}

// Writes the first n bytes of the buffer. When only some of them fit on the
// medium, those leave the buffer and the rest wait at its start, so that a
// later attempt (after room was made) continues at the right byte instead of
// writing the whole buffer again.
bool write_out(File& f, std::uint16_t n) {
  write_block(f, n, f.buffer);
  const std::uint16_t moved = f.lastCount;
  if (f.result == CVX_FILE_DONE) {
    f.bufIndex = 0;
    return true;
  }
  if (moved > 0 && moved < n) {
    std::memmove(f.buffer, f.buffer + moved, n - moved);
    f.bufIndex = static_cast<std::uint16_t>(n - moved);
  }
  return false;
}

// Stores a byte in the write buffer, writing a full buffer out first.
void put_byte(File& f, char b) {
  if (f.bufIndex >= kBufferSize && !write_out(f, kBufferSize)) return;
  f.buffer[f.bufIndex++] = b;
  f.result = CVX_FILE_DONE;
}

// Writes the bytes waiting in a write buffer; false (result set) on failure.
bool write_waiting(File& f) {
  if (f.direction != CVX_DIR_WRITE || f.bufIndex == 0) return true;
  const std::uint16_t waiting = f.bufIndex;
  return write_out(f, waiting > kBufferSize ? kBufferSize : waiting);
}

}  // namespace

std::int32_t result_from_error(std::uint32_t error) {
  switch (error) {
    case plat::kErrorFileNotFound:
      return CVX_FILE_NOT_FOUND;
    case plat::kErrorPathNotFound:
      return CVX_FILE_PATH_NOT_FOUND;
    case plat::kErrorTooManyOpenFiles:
      return CVX_FILE_TOO_MANY_OPEN;
    case plat::kErrorAccessDenied:
      return CVX_FILE_ACCESS_DENIED;
    // A file that another open denies us is in use by another user, which
    // callers know as access denied.
    case plat::kErrorSharingViolation:
      return CVX_FILE_ACCESS_DENIED;
    case plat::kErrorInvalidHandle:
      return CVX_FILE_NOT_OPEN;
    default:
      return CVX_FILE_FAILED;
  }
}

void multi_lookup(File& f, const char* name, bool shared, bool read_only, bool create) {
  const std::string n = bounded_name(name);
  const plat::HFILE probe = plat::_lopen(n.c_str(), plat::OF_READ | plat::OF_SHARE_DENY_NONE);
  if (probe == plat::HFILE_ERROR) {
    if (create) {
      create32(f, n.c_str());
    } else {
      fail_open(f, plat::GetLastError());
    }
    return;
  }
  plat::_lclose(probe);
  const std::uint32_t mode = (read_only ? plat::OF_READ : plat::OF_READWRITE) |
                             (shared ? plat::OF_SHARE_DENY_NONE : plat::OF_SHARE_DENY_WRITE);
  const plat::HFILE h = plat::_lopen(n.c_str(), mode);
  if (h == plat::HFILE_ERROR) {
    fail_open(f, plat::GetLastError());
    return;
  }
  set_up(f, h, false, false);
}

void create(File& f, const char* name) {
  const std::string n = bounded_name(name);
  plat::OFSTRUCT record{};
  const plat::HFILE h = plat::OpenFile(
      n.c_str(), &record, plat::OF_CREATE | plat::OF_READWRITE | plat::OF_SHARE_EXCLUSIVE);
  if (h == plat::HFILE_ERROR) {
    fail_open(f, record.nErrCode);
    return;
  }
  set_up(f, h, true, true);
}

void create32(File& f, const char* name) {
  const std::string n = bounded_name(name);
  const std::uint32_t made = plat::CreateFileA(n.c_str(), plat::GENERIC_READ | plat::GENERIC_WRITE,
                                               plat::FILE_SHARE_READ | plat::FILE_SHARE_WRITE,
                                               plat::CREATE_NEW, plat::FILE_ATTRIBUTE_NORMAL);
  if (made != plat::INVALID_HANDLE_VALUE) plat::CloseHandle(made);  // an existing file is fine
  const plat::HFILE h = plat::_lopen(n.c_str(), plat::OF_READWRITE | plat::OF_SHARE_EXCLUSIVE);
  if (h == plat::HFILE_ERROR) {
    fail_open(f, plat::GetLastError());
    return;
  }
  set_up(f, h, true, true);
}

std::int32_t open_file(const char* name, void* error_record, std::uint32_t mode) {
  const std::string n = bounded_name(name);
  auto report = [error_record] {
    if (error_record == nullptr) return;
    const std::uint16_t e = static_cast<std::uint16_t>(plat::GetLastError());
    std::memcpy(static_cast<char*>(error_record) + 2, &e, sizeof e);
  };
  if ((mode & plat::OF_CREATE) != 0) {
    const std::uint32_t access = (mode & plat::OF_ACCESS_MASK) == plat::OF_READWRITE
                                     ? plat::GENERIC_READ | plat::GENERIC_WRITE
                                 : (mode & plat::OF_ACCESS_MASK) == plat::OF_WRITE
                                     ? plat::GENERIC_WRITE
                                     : plat::GENERIC_READ;
    std::uint32_t share = plat::FILE_SHARE_READ | plat::FILE_SHARE_WRITE;
    if ((mode & plat::OF_SHARE_MASK) == plat::OF_SHARE_DENY_READ) share = plat::FILE_SHARE_WRITE;
    if ((mode & plat::OF_SHARE_MASK) == plat::OF_SHARE_DENY_WRITE) share = plat::FILE_SHARE_READ;
    const std::uint32_t made =
        plat::CreateFileA(n.c_str(), access, share, plat::CREATE_NEW, plat::FILE_ATTRIBUTE_NORMAL);
    if (made == plat::INVALID_HANDLE_VALUE) {
      report();
    } else {
      plat::CloseHandle(made);
    }
  }
  const plat::HFILE h =
      plat::_lopen(n.c_str(), mode & ~static_cast<std::uint32_t>(plat::OF_CREATE));
  if (h == plat::HFILE_ERROR) report();
  return h;
}

bool check(File& f, std::int32_t direction) {
  if (f.signature != CVX_FILE_SIGNATURE || f.handle == 0) {
    f.result = CVX_FILE_NOT_OPEN;
    return false;
  }
  if (direction < CVX_DIR_NONE || direction > CVX_DIR_WRITE) {
    f.result = CVX_FILE_WRONG_USE;
    return false;
  }
  if (direction != CVX_DIR_NONE) {
    if (f.direction != CVX_DIR_NONE && f.direction != direction) {
      f.result = CVX_FILE_WRONG_USE;
      return false;
    }
    f.direction = direction;
  }
  return true;
}

// The block transfers look only at the signature, not at the direction: a
// variable that was never opened must not reach a handle that happens to be
// open for something else.
bool signed_variable(File& f) {
  if (f.signature == CVX_FILE_SIGNATURE) return true;
  f.result = CVX_FILE_NOT_OPEN;
  return false;
}

// Records how a block transfer of count bytes went: n bytes moved, or the
// transfer failed. False (result set) on failure; the caller sets the result
// of a transfer that went through.
bool note_transfer(File& f, std::uint32_t n, std::uint16_t count) {
  if (n == plat::kTransferError) {
    f.lastCount = 0;
    f.result = CVX_FILE_FAILED;
    return false;
  }
  f.lastCount = static_cast<std::uint16_t>(n);
  f.eof = n < count ? 1 : 0;
  return true;
}

bool read_block(File& f, std::uint16_t count, void* data) {
  if (!signed_variable(f)) return false;
  if (!note_transfer(f, plat::_lread(f.handle, data, count), count)) return false;
  f.result = CVX_FILE_DONE;
  return true;
}

bool write_block(File& f, std::uint16_t count, const void* data) {
  if (!signed_variable(f)) return false;
  if (!note_transfer(f, plat::_lwrite(f.handle, data, count), count)) return false;
  f.result = f.lastCount < count ? CVX_FILE_MEDIUM_FULL : CVX_FILE_DONE;
  return f.result == CVX_FILE_DONE;
}

bool fill_buffer(File& f) {
  read_block(f, kBufferSize, f.buffer);
  if (f.result != CVX_FILE_DONE) return false;
  f.bufCount = f.lastCount;
  f.bufIndex = 0;
  f.eof = f.lastCount == 0 ? 1 : 0;
  return f.lastCount != 0;
}

void read_char(File& f, char& ch) {
  ch = 0;
  if (!check(f, CVX_DIR_READ)) return;
  if (f.again) {
    ch = static_cast<char>(f.lastItem & 0xFF);
    f.again = 0;
    f.result = CVX_FILE_DONE;
    return;
  }
  if (f.eof) {
    f.result = CVX_FILE_WRONG_USE;
    return;
  }
  unsigned char b = 0;
  if (!next_byte(f, b)) return;  // the end of the file: ch 0, eof set by the refill
  ch = static_cast<char>(b);
  if (b == kCr) {
    ch = CVX_EOL;
    if (f.bufIndex >= f.bufCount) fill_buffer(f);
    if (f.bufIndex < f.bufCount && f.bufIndex < kBufferSize && f.buffer[f.bufIndex] == kLf)
      ++f.bufIndex;
    f.eof = 0;
  } else if (b == kLf) {
    ch = CVX_EOL;
  } else if (b == kCtrlZ) {
    ch = 0;
    f.eof = 1;
  }
  f.lastItem = static_cast<std::int16_t>(static_cast<signed char>(ch));
  f.result = CVX_FILE_DONE;
}

void read_word(File& f, std::uint16_t& w) {
  w = 0;
  if (!check(f, CVX_DIR_READ)) return;
  if (f.again) {
    w = static_cast<std::uint16_t>(f.lastItem);
    f.again = 0;
    f.result = CVX_FILE_DONE;
    return;
  }
  if (f.eof) {
    f.result = CVX_FILE_WRONG_USE;
    return;
  }
  unsigned char low = 0, high = 0;
  if (!next_byte(f, low) || !next_byte(f, high)) return;
  w = static_cast<std::uint16_t>(low | (high << 8));
  f.lastItem = static_cast<std::int16_t>(w);
  f.result = CVX_FILE_DONE;
}

void write_char(File& f, char ch) {
  if (ch == CVX_EOL) {
    write_char(f, kCr);
    if (f.result == CVX_FILE_DONE) write_char(f, kLf);
    return;
  }
  if (!check(f, CVX_DIR_WRITE)) return;
  put_byte(f, ch);
}

void write_word(File& f, std::uint16_t w) {
  if (!check(f, CVX_DIR_WRITE)) return;
  put_byte(f, static_cast<char>(w & 0xFF));
  if (f.result == CVX_FILE_DONE) put_byte(f, static_cast<char>(w >> 8));
}

void again(File& f) {
  if (!check(f, CVX_DIR_READ)) return;
  f.again = 1;
  f.result = CVX_FILE_DONE;
}

// While the variable is reading and nothing is pending, a line is taken from
// the buffer in runs: ordinary characters are copied at once, a line end with
// its line feed at hand ends the line, and a used-up buffer is refilled, all
// exactly as ReadChar would deliver them one by one. Answers the line's
// length so far (from n characters already stored); `over` tells whether the
// line is over (its end consumed, the array full, or the file ended) or the
// rest is ReadChar's.
std::size_t read_line_runs(File& f, std::uint16_t high, char* line, std::size_t n, bool& over) {
  if (f.direction != CVX_DIR_READ || f.again || f.eof || f.signature != CVX_FILE_SIGNATURE ||
      f.handle == 0) {
    over = false;
    return n;
  }
  // The buffer is followed by 8 bytes of the variable itself: a block read
  // may run into them (it stays inside the variable), never past them.
  constexpr std::size_t kReadable = kBufferSize + sizeof f.bufIndex + sizeof f.bufCount +
                                    sizeof f.signature;
  static_assert(offsetof(File, bufIndex) == offsetof(File, buffer) + kBufferSize &&
                offsetof(File, signature) + sizeof f.signature == sizeof(File));
  while (n < high) {
    std::size_t at = f.bufIndex;
    const std::size_t held = f.bufCount;
    if (at >= held || held > kBufferSize) {
      over = false;
      if (at != held || held > kBufferSize) return n;  // a state for ReadChar to sort out
      over = !fill_buffer(f);                          // the end, or a failed read
      if (over) return n;
      continue;
    }
    const std::size_t avail = std::min(held - at, std::size_t{high} - n);
    const std::size_t run =
        copy_ordinary(f.buffer + at, kReadable - at, line + n, std::size_t{high} + 1 - n, avail);
    n += run;
    at += run;
    if (run != 0) f.result = CVX_FILE_DONE;
    if (n < high && at < held) {
      const char c = f.buffer[at];
      if (c == kLf || (c == kCr && at + 1 < held && f.buffer[at + 1] == kLf)) {
        f.bufIndex = static_cast<std::uint16_t>(at + (c == kCr ? 2 : 1));
        f.lastItem = CVX_EOL;
        f.result = CVX_FILE_DONE;
        over = true;
        return n;
      }
    }
    f.bufIndex = static_cast<std::uint16_t>(at);
    if (run == 0) {  // a byte ReadChar must see, or a line end to look past
      over = false;
      return n;
    }
    f.lastItem = static_cast<std::int16_t>(static_cast<signed char>(f.buffer[at - 1]));
  }
  over = true;
  return n;
}

std::uint16_t read_line(File& f, std::uint16_t high, char* line) {
  bool over = false;
  std::size_t n = read_line_runs(f, high, line, 0, over);
  while (!over && n < high) {
    char ch = 0;
    read_char(f, ch);
    if (ch == CVX_EOL || f.result != CVX_FILE_DONE || f.eof) break;
    line[n++] = ch;
    n = read_line_runs(f, high, line, n, over);  // the rest may again go in runs
  }
  text::fill_from(high, line, n);
  return static_cast<std::uint16_t>(n);
}

std::uint16_t write_line(File& f, std::uint16_t high, const char* line) {
  std::size_t count = 0;
  for (std::size_t i = 0; i <= high && line[i] != '\0'; ++i) {
    write_char(f, line[i]);
    if (f.result != CVX_FILE_DONE) return static_cast<std::uint16_t>(count);
    ++count;
  }
  write_char(f, CVX_EOL);
  if (f.result == CVX_FILE_DONE) count += 2;
  return static_cast<std::uint16_t>(count);
}

// Long blocks go to the file in one transfer. The original platform moved
// them in pieces of 61440 bytes, a limit of its memory segments, and failed at
// the first piece that came short; one transfer moves the same bytes, stops
// at the same byte and leaves the same position, with one system call where
// the pieces needed two or more.
bool read_long_block(File& f, std::int32_t size, void* data) {
  if (!check(f, CVX_DIR_NONE)) return false;
  bool ok = size >= 0 && (data != nullptr || size == 0);
  if (ok && size > 0)
    ok = plat::_lread(f.handle, data, static_cast<std::uint32_t>(size)) ==
         static_cast<std::uint32_t>(size);
  f.result = ok ? CVX_FILE_DONE : CVX_FILE_FAILED;
  f.eof = ok ? 0 : 1;
  return ok;
}

bool write_long_block(File& f, std::int32_t size, const void* data) {
  if (!check(f, CVX_DIR_NONE)) return false;
  if (size < 0 || (data == nullptr && size != 0)) {
    f.result = CVX_FILE_FAILED;
    return false;
  }
  const bool ok = size == 0 || plat::_lwrite(f.handle, data, static_cast<std::uint32_t>(size)) ==
                                   static_cast<std::uint32_t>(size);
  f.result = ok ? CVX_FILE_DONE : CVX_FILE_MEDIUM_FULL;
  return ok;
}

void set_pos(File& f, std::int32_t position) {
  if (!check(f, CVX_DIR_NONE)) return;
  if (!write_waiting(f)) return;
  if (plat::_llseek(f.handle, position, plat::FILE_BEGIN) == plat::HFILE_ERROR) {
    f.result = CVX_FILE_FAILED;
    return;
  }
  f.bufIndex = 0;
  f.bufCount = 0;
}

void get_pos(File& f, std::int32_t& position) {
  if (!check(f, CVX_DIR_NONE)) return;
  std::int32_t p = plat::_llseek(f.handle, 0, plat::FILE_CURRENT);
  if (p == plat::HFILE_ERROR) {
    f.result = CVX_FILE_FAILED;
    return;
  }
  if (f.direction == CVX_DIR_READ) p = p - f.bufCount + f.bufIndex;
  if (f.direction == CVX_DIR_WRITE) p += f.bufIndex;
  position = p;
}

void file_length(File& f, std::int32_t& length) {
  if (!check(f, CVX_DIR_NONE)) return;
  const std::int32_t here = plat::_llseek(f.handle, 0, plat::FILE_CURRENT);
  if (f.result != CVX_FILE_DONE) return;
  const std::int32_t end = plat::_llseek(f.handle, 0, plat::FILE_END);
  if (here == plat::HFILE_ERROR || end == plat::HFILE_ERROR) {
    f.result = CVX_FILE_FAILED;
    return;
  }
  length = end;
  plat::_llseek(f.handle, here, plat::FILE_BEGIN);
}

void file_reset(File& f) {
  if (!check(f, CVX_DIR_NONE)) return;
  set_pos(f, 0);
  f.direction = CVX_DIR_NONE;
  f.again = 0;
  f.eof = 0;
  f.result = CVX_FILE_DONE;
}

std::uint16_t get_handle(File& f) {
  if (!check(f, CVX_DIR_NONE)) return 0;
  f.result = CVX_FILE_DONE;
  return f.handle;
}

void close(File& f) {
  if (!check(f, CVX_DIR_NONE)) return;
  if (!write_waiting(f)) return;
  if (plat::_lclose(f.handle) != 0) {
    f.result = CVX_FILE_FAILED;
    return;
  }
  f.result = CVX_FILE_DONE;
  f.handle = 0;
}

void flush(File& f) {
  if (!check(f, CVX_DIR_NONE)) return;
  bool ok = plat::_commit(f.handle) == 0;
  const plat::HFILE copy = plat::_dup(f.handle);
  ok = ok && copy != plat::HFILE_ERROR;
  if (copy != plat::HFILE_ERROR) plat::_lclose(copy);
  f.result = ok ? CVX_FILE_DONE : CVX_FILE_FAILED;
}

int lock_region(File& f, const CvxLockRegion& region, bool lock) {
  std::int32_t here = 0;
  get_pos(f, here);
  // A file variable that is not open, or a region the position cannot reach,
  // never reaches the system: a stray handle could lock another file.
  if (f.signature != CVX_FILE_SIGNATURE || f.handle == 0) return plat::CRT_EBADF;
  if (region.start < 0 || region.length < 0) return plat::CRT_EINVAL;
  set_pos(f, region.start);
  if (f.result != CVX_FILE_DONE) return plat::CRT_EACCES;  // a waiting buffer could not be written
  const int rc = plat::_locking(f.handle, lock ? plat::LK_LOCK : plat::LK_UNLCK, region.length);
  const int err = rc == 0 ? 0 : plat::crt_errno();
  set_pos(f, here);
  return err;
}

bool share_is_loaded(File& f) {
  const CvxLockRegion first{0, 1};
  const int err = lock_region(f, first, true);
  if (err == 0) lock_region(f, first, false);
  return err != plat::CRT_EINVAL;
}

}  // namespace corva::files
