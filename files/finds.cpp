#include "files/finds.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "corvaplat/search.h"

namespace corva::files {
namespace {

namespace plat = corva::platform;

static_assert(sizeof(CvFindRecord) == 280 && offsetof(CvFindRecord, name) == 20,
              "the find record's layout is part of the interface");
static_assert(sizeof(CvFindRecord) == sizeof(plat::FindData));

// The one open search (-1: none) and the work copy of its pattern.
std::intptr_t g_search = -1;
char g_pattern[261];

void take(const plat::FindData& from, CvFindRecord& to) {
  to.attrib = from.attrib;
  to.time_create = from.time_create;
  to.time_access = from.time_access;
  to.time_write = from.time_write;
  to.size = from.size;
  std::memcpy(to.name, from.name, sizeof to.name);
}

bool accepted(const CvFindRecord& find, std::uint8_t attribute) {
  return (attribute == 0 || attribute == find.attrib) && find.name[0] != '.';
}

}  // namespace

void close_find() {
  if (g_search != -1) plat::_findclose(g_search);
  g_search = -1;
}

bool find_first(std::string_view pattern, CvFindRecord& find) {
  const std::size_t n = std::min<std::size_t>(pattern.size(), 260);
  if (n != 0) std::memcpy(g_pattern, pattern.data(), n);
  g_pattern[n] = '\0';
  close_find();
  plat::FindData data{};
  g_search = plat::_findfirst(g_pattern, &data);
  if (g_search == -1) return false;
  take(data, find);
  return true;
}

bool find_next(CvFindRecord& find) {
  if (g_search == -1) return false;
  plat::FindData data{};
  if (plat::_findnext(g_search, &data) != 0) {
    close_find();
    return false;
  }
  take(data, find);
  return true;
}

bool find_next_accepted(std::uint8_t attribute, CvFindRecord& find) {
  while (find_next(find)) {
    if (accepted(find, attribute)) return true;
  }
  return false;
}

bool find_first_accepted(std::string_view pattern, std::uint8_t attribute, CvFindRecord& find) {
  if (!find_first(pattern, find)) return false;
  return accepted(find, attribute) || find_next_accepted(attribute, find);
}

void close_all_finds() { close_find(); }

}  // namespace corva::files
