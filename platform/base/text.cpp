#include <corvaplat/text.h>

namespace corva::platform {
namespace {

// Code page 1252: the letters outside a-z whose case pairs are not 0x20 apart.
unsigned char upper_of(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 0x20);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 0x20);
  switch (c) {
    case 0x9A: return 0x8A;  // s caron
    case 0x9C: return 0x8C;  // oe
    case 0x9E: return 0x8E;  // z caron
    case 0xFF: return 0x9F;  // y diaeresis
    default: return c;
  }
}

unsigned char lower_of(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 0x20);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 0x20);
  switch (c) {
    case 0x8A: return 0x9A;
    case 0x8C: return 0x9C;
    case 0x8E: return 0x9E;
    case 0x9F: return 0xFF;
    default: return c;
  }
}

}  // namespace

char char_upper(char c) { return static_cast<char>(upper_of(static_cast<unsigned char>(c))); }
char char_lower(char c) { return static_cast<char>(lower_of(static_cast<unsigned char>(c))); }

char* CharUpperA(char* text) {
  if (text == nullptr) return nullptr;
  for (char* p = text; *p != '\0'; ++p) *p = char_upper(*p);
  return text;
}

char* CharLowerA(char* text) {
  if (text == nullptr) return nullptr;
  for (char* p = text; *p != '\0'; ++p) *p = char_lower(*p);
  return text;
}

}  // namespace corva::platform
