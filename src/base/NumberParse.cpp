// Strict text to number: whole text, optional sign and exponent, nothing locale-dependent.
#include "NumberText.h"

#include <charconv>
#include <climits>
#include <string>
#include <system_error>

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Checks the float grammar and reports where the mantissa digits and exponent are, so that
// an out-of-range result can be told apart as underflow (becomes 0) or overflow (refused).
bool validFloatSyntax(std::string_view s, long long& magnitude) {
  size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  size_t intStart = i;
  while (i < s.size() && isDigit(s[i])) ++i;
  size_t intLen = i - intStart;
  size_t fracLen = 0, fracStart = i;
  if (i < s.size() && s[i] == '.') {
    fracStart = ++i;
    while (i < s.size() && isDigit(s[i])) ++i;
    fracLen = i - fracStart;
  }
  if (intLen + fracLen == 0) return false;
  long long exponent = 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    bool negExp = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negExp = s[i++] == '-';
    size_t expStart = i;
    while (i < s.size() && isDigit(s[i])) {
      if (exponent < 1000000000LL) exponent = exponent * 10 + (s[i] - '0');
      ++i;
    }
    if (i == expStart) return false;
    if (negExp) exponent = -exponent;
  }
  if (i != s.size()) return false;
  // Decimal position of the first non-zero digit, roughly; only its sign matters.
  long long pos = 0;
  size_t firstNonZero = intStart;
  while (firstNonZero < intStart + intLen && s[firstNonZero] == '0') ++firstNonZero;
  if (firstNonZero < intStart + intLen) {
    pos = static_cast<long long>(intStart + intLen - firstNonZero);
  } else {
    size_t j = fracStart;
    while (j < fracStart + fracLen && s[j] == '0') ++j;
    pos = -static_cast<long long>(j - fracStart);
  }
  magnitude = pos + exponent;
  return true;
}

template <typename T>
bool parseIntegral(std::string_view text, T& out) {
  std::string t = trim(text);
  std::string_view s = t;
  if (!s.empty() && s[0] == '+') {
    s.remove_prefix(1);
    if (!s.empty() && (s[0] == '-' || s[0] == '+')) return false;
  }
  if (s.empty()) return false;
  // from_chars accepts a leading '-' only; digits must follow.
  size_t digitsAt = s[0] == '-' ? 1 : 0;
  if (digitsAt >= s.size() || !isDigit(s[digitsAt])) return false;
  T v{};
  auto r = std::from_chars(s.data(), s.data() + s.size(), v);
  if (r.ec != std::errc() || r.ptr != s.data() + s.size()) return false;
  out = v;
  return true;
}

}  // namespace

bool parseFloatStrict(std::string_view text, double& out) {
  std::string t = trim(text);
  long long magnitude = 0;
  if (!validFloatSyntax(t, magnitude)) return false;
  std::string_view s = t;
  bool negative = false;
  if (s[0] == '+' || s[0] == '-') {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  double v = 0;
  auto r = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
  if (r.ptr != s.data() + s.size()) return false;
  if (r.ec == std::errc::result_out_of_range) {
    if (magnitude > 0) return false;  // overflow
    v = 0;                             // underflow below the smallest denormal
  } else if (r.ec != std::errc()) {
    return false;
  }
  out = negative ? -v : v;
  return true;
}

bool parseIntStrict(std::string_view text, int64_t& out) { return parseIntegral(text, out); }

bool parseIntStrict(std::string_view text, int& out) { return parseIntegral(text, out); }

double parseFloatOr(std::string_view text, double fallback) {
  double v = 0;
  return parseFloatStrict(text, v) ? v : fallback;
}

int parseIntOr(std::string_view text, int fallback) {
  int v = 0;
  return parseIntStrict(text, v) ? v : fallback;
}

bool parseFloatWithSeparator(std::string_view text, char separator, double& out) {
  if (separator == '.') return parseFloatStrict(text, out);
  std::string t(text);
  for (char& c : t) {
    if (c == '.') return false;  // only the given separator counts
    if (c == separator) c = '.';
  }
  return parseFloatStrict(t, out);
}
