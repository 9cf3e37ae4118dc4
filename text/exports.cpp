// The exported bounded-string and sized-copy functions: argument checks, then
// the shared routines of text/bstr.
#include <algorithm>
#include <cstring>
#include <string>

#include "corvalib/frame.h"
#include "corvalib/text.h"
#include "corvaplat/text.h"
#include "frame/boundary.h"
#include "text/bstr.h"

namespace bs = corva::text;
using std::string_view;

namespace {

// A source that lies inside the destination is copied out first, so the
// result is as if every source had been read before anything was written.
struct Stable {
  std::string copy;
  string_view text;
  Stable(string_view source, const char* dest, std::uint16_t dhigh) : text(source) {
    if (bs::overlaps(source, dest, dhigh)) {
      copy.assign(source);
      text = copy;
    }
  }
};

string_view plain(const char* text) { return text ? string_view(text) : string_view(); }

// Removes the first occurrence of pattern and inserts replacement there.
void substitute(std::uint16_t high, char* text, string_view pattern, string_view replacement) {
  bs::find_and_replace(high, text, pattern, replacement);
}

}  // namespace

extern "C" {

uint16_t Length(uint16_t high, const char* text) try {
  return static_cast<uint16_t>(bs::length(high, text));
} CORVA_BOUNDARY(0)

void Assign(uint16_t shigh, const char* source, uint16_t dhigh, char* dest) try {
  bs::assign(dhigh, dest, shigh, source);
} CORVA_BOUNDARY()

void AssignWithTrim(uint16_t shigh, const char* source, uint16_t dhigh, char* dest) try {
  if (dest == nullptr) return;
  Assign(shigh, source, dhigh, dest);
  Trim(dhigh, dest);
} CORVA_BOUNDARY()

void Insert(uint16_t ihigh, const char* inserted, uint16_t thigh, char* target,
            uint16_t position) try {
  if (target == nullptr) return;
  bs::insert(bs::view(ihigh, inserted), thigh, target, position);
} CORVA_BOUNDARY()

void Delete(uint16_t high, char* text, uint16_t position, uint16_t count) try {
  if (text == nullptr) return;
  bs::erase(high, text, position, count);
} CORVA_BOUNDARY()

uint16_t Pos(uint16_t phigh, const char* pattern, uint16_t thigh, const char* text) try {
  const std::size_t at =
      bs::find_in_array(text, std::size_t{thigh} + 1, pattern, std::size_t{phigh} + 1);
  if (at != string_view::npos) return static_cast<uint16_t>(at);
  // HIGH + 1 marks "absent"; for HIGH 65535 that does not fit, so 65535 stands in.
  return thigh == 0xFFFF ? thigh : static_cast<uint16_t>(thigh + 1);
} CORVA_BOUNDARY(0)

void Copy(uint16_t shigh, const char* source, uint16_t position, uint16_t count,
          uint16_t dhigh, char* dest) try {
  if (dest == nullptr) return;
  Assign(shigh, source, dhigh, dest);
  if (position >= bs::length(dhigh, dest)) {
    bs::fill_from(dhigh, dest, 0);
    return;
  }
  bs::erase(dhigh, dest, 0, position);
  bs::fill_from(dhigh, dest, std::min<std::size_t>(count, bs::length(dhigh, dest)));
} CORVA_BOUNDARY()

void Concat(uint16_t fhigh, const char* first, uint16_t shigh, const char* second,
            uint16_t dhigh, char* dest) try {
  if (dest == nullptr) return;
  bs::concat(dhigh, dest, fhigh, first, shigh, second);
} CORVA_BOUNDARY()

void Append(uint16_t dhigh, char* dest, uint16_t shigh, const char* source) try {
  if (dest == nullptr) return;
  bs::insert(bs::view(shigh, source), dhigh, dest, bs::length(dhigh, dest));
} CORVA_BOUNDARY()

void AppendWithJustify(uint16_t dhigh, char* dest, uint16_t shigh, const char* source,
                       uint16_t /*width*/, uint16_t mode) try {
  if (dest == nullptr) return;
  const std::size_t l = bs::length(dhigh, dest);
  if (l > dhigh) return;  // no room at all
  const auto room = static_cast<uint16_t>(dhigh - l);
  Stable piece(bs::view(shigh, source), dest, dhigh);
  bs::write(room, dest + l, piece.text);
  bs::justify(room, dest + l, room, mode);
} CORVA_BOUNDARY()

int16_t CompareStr(uint16_t ahigh, const char* a, uint16_t bhigh, const char* b) try {
  // A null side reads as the empty text; only its position 0 is ever read.
  return static_cast<int16_t>(bs::compare(a ? ahigh : 0, a ? a : "", b ? bhigh : 0, b ? b : ""));
} CORVA_BOUNDARY(0)

void Justify(uint16_t high, char* text, uint16_t width, uint16_t mode) try {
  if (text == nullptr) return;
  bs::justify(high, text, width, mode);
} CORVA_BOUNDARY()
void JustifyLeft(uint16_t high, char* text, uint16_t width) try {
  Justify(high, text, width, 0);
} CORVA_BOUNDARY()
void JustifyCenter(uint16_t high, char* text, uint16_t width) try {
  Justify(high, text, width, 1);
} CORVA_BOUNDARY()
void JustifyRight(uint16_t high, char* text, uint16_t width) try {
  Justify(high, text, width, 2);
} CORVA_BOUNDARY()

void TrimRight(uint16_t high, char* text) try {
  if (text != nullptr) bs::trim_right(high, text);
} CORVA_BOUNDARY()
void TrimLeft(uint16_t high, char* text) try {
  if (text != nullptr) bs::trim_left(high, text);
} CORVA_BOUNDARY()
void Trim(uint16_t high, char* text) try {
  TrimLeft(high, text);
  TrimRight(high, text);
} CORVA_BOUNDARY()

void UpperCase(uint16_t high, char* text) try {
  if (text == nullptr) return;
  if (bs::length(high, text) > high) text[high] = '\0';
  corva::platform::CharUpperA(text);
} CORVA_BOUNDARY()

int16_t FindString(uint16_t thigh, char* text, uint16_t phigh, const char* pattern) try {
  if (text == nullptr) return -1;
  Stable p(bs::view(phigh, pattern), text, thigh);
  return static_cast<int16_t>(bs::find_and_remove(thigh, text, p.text));
} CORVA_BOUNDARY(-1)

void FindAndReplace(uint16_t thigh, char* text, uint16_t phigh, const char* pattern,
                    uint16_t rhigh, const char* replacement) try {
  if (text == nullptr) return;
  Stable p(bs::view(phigh, pattern), text, thigh);
  substitute(thigh, text, p.text, bs::view(rhigh, replacement));
} CORVA_BOUNDARY()

void Replace(uint16_t high, char* text, uint16_t position, uint16_t shigh, const char* source,
             uint16_t count) try {
  if (text == nullptr) return;
  char work[81];
  bs::write(80, work, bs::view(shigh, source));
  bs::erase(high, text, position, count);
  bs::justify(80, work, count, bs::kRight);
  bs::insert(bs::view(80, work), high, text, position);
} CORVA_BOUNDARY()

void ReplaceString(uint16_t high, char* text, const char* pattern, const char* replacement) try {
  if (text == nullptr || pattern == nullptr) return;
  Stable p(plain(pattern), text, high);
  substitute(high, text, p.text, plain(replacement));
} CORVA_BOUNDARY()

void InsertCard(uint16_t high, char* text, uint16_t number) try {
  if (text == nullptr) return;
  char digits[6];
  substitute(high, text, "###", bs::card_digits(number, digits));
} CORVA_BOUNDARY()

void InsertString(uint16_t high, char* text, uint16_t ihigh, const char* inserted) try {
  if (text == nullptr) return;
  substitute(high, text, "$$$", bs::view(ihigh, inserted));
} CORVA_BOUNDARY()

char* sstrcpy(char* dest, const char* source, int16_t size) try {
  if (dest == nullptr || source == nullptr || size <= 0) return dest;
  const auto n = static_cast<std::size_t>(size);
  const std::size_t l = strnlen(source, n);
  std::memmove(dest, source, l);
  std::memset(dest + l, 0, n - l);
  dest[n - 1] = '\0';
  return dest;
} CORVA_BOUNDARY(nullptr)

char* sstrcat(char* dest, const char* source, int16_t size) try {
  if (dest == nullptr || size <= 0) return dest;
  const auto n = static_cast<std::size_t>(size);
  const std::size_t l = strnlen(dest, n);
  if (l == n) return dest + n;  // no NUL within size: left as it is
  return sstrcpy(dest + l, source, static_cast<int16_t>(n - l));
} CORVA_BOUNDARY(nullptr)

int16_t RunningStringCopy(const char* source, char** dest, uint32_t* room) try {
  if (source == nullptr || dest == nullptr || *dest == nullptr || room == nullptr) return 0;
  int16_t copied = 0;
  while (*source != '\0' && *room != 0) {
    *(*dest)++ = *source++;
    --*room;
    ++copied;
  }
  return copied;
} CORVA_BOUNDARY(0)

char* lstrdup(const char* text) try {
  if (text == nullptr) return nullptr;
  const std::size_t l = strnlen(text, 65534);
  void* copy = nullptr;
  if (!_CppAllocate(&copy, static_cast<uint32_t>(l + 1), __FILE__, __LINE__)) return nullptr;
  std::memcpy(copy, text, l);  // the block is zero-filled, so the NUL is there
  return static_cast<char*>(copy);
} CORVA_BOUNDARY(nullptr)

}  // extern "C"
