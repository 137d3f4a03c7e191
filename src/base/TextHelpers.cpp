// Byte-wise trims, ASCII case helpers and hexadecimal digits (safe on UTF-8: multi-byte units
// are all >= 0x80).
#include "NumberText.h"

namespace {
char upperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c; }
}  // namespace

int hexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string trimLeft(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && isBlankByte(text[i])) ++i;
  return std::string(text.substr(i));
}

std::string trimRight(std::string_view text) {
  size_t n = text.size();
  while (n > 0 && isBlankByte(text[n - 1])) --n;
  return std::string(text.substr(0, n));
}

std::string_view trimView(std::string_view text) {
  size_t i = 0, n = text.size();
  while (i < n && isBlankByte(text[i])) ++i;
  while (n > i && isBlankByte(text[n - 1])) --n;
  return text.substr(i, n - i);
}

std::string trim(std::string_view text) { return std::string(trimView(text)); }

std::string toLowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = lowerAscii(c);
  return out;
}

std::string toUpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = upperAscii(c);
  return out;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
  return true;
}
