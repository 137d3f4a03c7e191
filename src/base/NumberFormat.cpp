// Number to text: the general 15-digit form, fixed decimals with halves away from zero, integers.
#include "NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>
#include <system_error>

namespace {

// The decimal digits (no leading/trailing zeros) and exponent of `value` written by
// to_chars in scientific form: value = 0.d1d2d3... * 10^(exp10 + 1), i.e. d1.d2d3... * 10^exp10.
struct DecimalDigits {
  bool negative = false;
  std::string digits;  // at least one digit; "0" for zero
  int exp10 = 0;
};

DecimalDigits splitScientific(const char* first, const char* last) {
  DecimalDigits d;
  const char* p = first;
  if (p < last && *p == '-') {
    d.negative = true;
    ++p;
  }
  for (; p < last && *p != 'e'; ++p)
    if (*p != '.') d.digits.push_back(*p);
  if (p < last) std::from_chars(p + 1 + (p[1] == '+'), last, d.exp10);
  while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
  return d;
}

DecimalDigits toDigits(double value, int significant) {
  char buf[64];
  std::to_chars_result r = significant > 0
      ? std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, significant - 1)
      : std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
  return splitScientific(buf, r.ptr);
}

std::string nonFinite(double value) {
  if (std::isnan(value)) return "NAN";
  return value < 0 ? "-INF" : "INF";
}

// The general form, plain while the decimal exponent is at least `lowestPlain`.
std::string formatGeneralFrom(double value, int lowestPlain) {
  if (!std::isfinite(value)) return nonFinite(value);
  if (value == 0) return "0";
  DecimalDigits d = toDigits(value, 15);
  std::string out;
  if (d.negative) out.push_back('-');
  const int n = static_cast<int>(d.digits.size());
  if (d.exp10 >= 15 || d.exp10 < lowestPlain) {
    out.push_back(d.digits[0]);
    if (n > 1) {
      out.push_back('.');
      out.append(d.digits, 1);
    }
    out.push_back('E');
    out += std::to_string(d.exp10);
  } else if (d.exp10 < 0) {
    out += "0.";
    out.append(static_cast<size_t>(-d.exp10 - 1), '0');
    out += d.digits;
  } else {
    const int intDigits = d.exp10 + 1;
    if (n <= intDigits) {
      out += d.digits;
      out.append(static_cast<size_t>(intDigits - n), '0');
    } else {
      out.append(d.digits, 0, static_cast<size_t>(intDigits));
      out.push_back('.');
      out.append(d.digits, static_cast<size_t>(intDigits));
    }
  }
  return out;
}

}  // namespace

std::string formatGeneral(double value) { return formatGeneralFrom(value, -4); }

std::string formatGeneralPlainTo1E5(double value) { return formatGeneralFrom(value, -5); }

std::string formatFixed(double value, int decimals) {
  if (!std::isfinite(value)) return nonFinite(value);
  if (decimals < 0) decimals = 0;
  // Work on the shortest round-trip digits so that 0.125 and 1.005 round as written.
  DecimalDigits d = toDigits(value, 0);
  // Place the digits on a grid of integer part + `decimals` fraction digits.
  std::string grid;  // all digits, no point; the last `decimals` are the fraction
  const int intDigits = d.exp10 + 1;  // may be <= 0
  bool roundUp = false;
  if (value != 0) {
    // Position of the first digit to drop, counted in `d.digits`.
    const int keep = intDigits + decimals;
    if (keep < 0) {
      grid.clear();
    } else {
      if (intDigits < 0) grid.append(static_cast<size_t>(-intDigits), '0');
      const int fromDigits = keep < static_cast<int>(d.digits.size()) ? keep : static_cast<int>(d.digits.size());
      grid.append(d.digits, 0, static_cast<size_t>(fromDigits));
      if (keep < static_cast<int>(d.digits.size())) roundUp = d.digits[static_cast<size_t>(keep)] >= '5';
      else grid.append(static_cast<size_t>(keep - static_cast<int>(d.digits.size())), '0');
    }
  }
  // The grid spans max(intDigits,0) integer digits + decimals; pad to at least one integer digit.
  const size_t want = static_cast<size_t>((intDigits > 0 ? intDigits : 0) + decimals);
  if (grid.size() < want) grid.insert(0, want - grid.size(), '0');
  if (roundUp) {
    int i = static_cast<int>(grid.size()) - 1;
    for (; i >= 0 && grid[static_cast<size_t>(i)] == '9'; --i) grid[static_cast<size_t>(i)] = '0';
    if (i >= 0) ++grid[static_cast<size_t>(i)];
    else grid.insert(grid.begin(), '1');
  }
  if (grid.size() < static_cast<size_t>(decimals) + 1)
    grid.insert(0, static_cast<size_t>(decimals) + 1 - grid.size(), '0');
  bool allZero = grid.find_first_not_of('0') == std::string::npos;
  std::string out;
  if (d.negative && !allZero) out.push_back('-');
  out.append(grid, 0, grid.size() - static_cast<size_t>(decimals));
  if (decimals > 0) {
    out.push_back('.');
    out.append(grid, grid.size() - static_cast<size_t>(decimals));
  }
  return out;
}

std::string formatInt(int64_t value) {
  char buf[32];
  auto r = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, r.ptr);
}

void appendIntPadded(std::string& out, int64_t value, int width) {
  char buf[32];
  // Format the magnitude as unsigned so INT64_MIN has no overflow.
  const uint64_t mag = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  const auto r = std::to_chars(buf, buf + sizeof buf, mag);
  const auto digits = static_cast<int>(r.ptr - buf);
  if (value < 0) out += '-';
  if (width > digits) out.append(static_cast<size_t>(width - digits), '0');
  out.append(buf, r.ptr);
}

std::string formatIntPadded(int64_t value, int width) {
  std::string out;
  appendIntPadded(out, value, width);
  return out;
}
