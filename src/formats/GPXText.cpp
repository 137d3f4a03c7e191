// The text forms of GPX output: escaping, numbers, times.
#include "formats/GPXText.h"

#include <cmath>
#include <cstdint>

#include "base/DateTime.h"
#include "base/NumberText.h"

namespace {

// Length of the valid UTF-8 sequence starting at s[i] that XML 1.0 allows, 0 when invalid.
size_t validUtf8Length(std::string_view s, size_t i) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  size_t len;
  uint32_t cp;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    len = 2;
    cp = b0 & 0x1Fu;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    len = 3;
    cp = b0 & 0x0Fu;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    len = 4;
    cp = b0 & 0x07u;
  } else {
    return 0;
  }
  if (i + len > s.size()) return 0;
  for (size_t k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0u) != 0x80u) return 0;
    cp = (cp << 6) | (b & 0x3Fu);
  }
  if (len == 3 && cp < 0x800) return 0;                   // overlong
  if (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) return 0;
  if (cp >= 0xD800 && cp <= 0xDFFF) return 0;             // surrogates
  if (cp == 0xFFFE || cp == 0xFFFF) return 0;             // not XML characters
  return len;
}

const std::string_view kReplacement = "\xEF\xBF\xBD";

}  // namespace

void appendXMLText(std::string& out, std::string_view text, XmlTextKind kind) {
  size_t run = 0;  // start of the pending run of bytes copied unchanged
  size_t i = 0;
  const size_t n = text.size();
  auto flush = [&](size_t upTo) {
    if (upTo > run) out.append(text.data() + run, upTo - run);
  };
  while (i < n) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {
      const size_t len = validUtf8Length(text, i);
      if (len) {
        i += len;
        continue;
      }
      flush(i);
      out += kReplacement;
      run = ++i;
      continue;
    }
    std::string_view replacement;
    bool special = false;
    if (c < 0x20) {
      special = c != '\t' && c != '\n' && c != '\r';  // dropped
      // A parser reads TAB, LF and CR in an attribute value as blanks: references keep them.
      if (!special && kind == XmlTextKind::Attribute) {
        replacement = c == '\t' ? "&#9;" : c == '\n' ? "&#10;" : "&#13;";
        special = true;
      }
    } else if (kind != XmlTextKind::Raw) {
      switch (c) {
        case '&': replacement = "&amp;"; special = true; break;
        case '<': replacement = "&lt;"; special = true; break;
        case '>': replacement = "&gt;"; special = true; break;
        case '"':
          if (kind == XmlTextKind::Attribute) {
            replacement = "&quot;";
            special = true;
          }
          break;
        default: break;
      }
    }
    if (special) {
      flush(i);
      out += replacement;
      run = i + 1;
    }
    ++i;
  }
  flush(n);
}

std::string XMLise(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  appendXMLText(out, text, XmlTextKind::Element);
  return out;
}

void appendGPXNumber(std::string& out, double value) {
  // "INF" or "NAN" would make the file invalid; the readers never give such a value, so
  // only a fault elsewhere could bring one here.
  if (!std::isfinite(value)) {
    out += '0';
    return;
  }
  const std::string general = formatGeneral(value);
  const size_t e = general.find('E');
  if (e == std::string::npos) {
    out += general;
    return;
  }
  // Spell the exponent form out: same digits, the decimal point moved.
  std::string_view mantissa(general.data(), e);
  int64_t exponent = 0;
  parseIntStrict(std::string_view(general).substr(e + 1), exponent);
  if (!mantissa.empty() && (mantissa[0] == '-' || mantissa[0] == '+')) {
    if (mantissa[0] == '-') out += '-';
    mantissa.remove_prefix(1);
  }
  std::string digits;
  int64_t intDigits = static_cast<int64_t>(mantissa.size());
  for (size_t k = 0; k < mantissa.size(); ++k) {
    if (mantissa[k] == '.')
      intDigits = static_cast<int64_t>(k);
    else
      digits += mantissa[k];
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  const int64_t point = intDigits + exponent;
  const auto count = static_cast<int64_t>(digits.size());
  if (point <= 0) {
    out += "0.";
    out.append(static_cast<size_t>(-point), '0');
    out += digits;
  } else if (point >= count) {
    out += digits;
    out.append(static_cast<size_t>(point - count), '0');
  } else {
    out.append(digits, 0, static_cast<size_t>(point));
    out += '.';
    out.append(digits, static_cast<size_t>(point), std::string::npos);
  }
}

std::string formatGPXNumber(double value) {
  std::string out;
  appendGPXNumber(out, value);
  return out;
}

void appendGPXTime(std::string& out, double dateTime) {
  const DateTimeFields f = decodeDateTime(dateTime);
  appendIntPadded(out, f.year, 4);
  out += '-';
  appendIntPadded(out, f.month, 2);
  out += '-';
  appendIntPadded(out, f.day, 2);
  out += 'T';
  appendIntPadded(out, f.hour, 2);
  out += ':';
  appendIntPadded(out, f.minute, 2);
  out += ':';
  appendIntPadded(out, f.second, 2);
  // A fast logger's fixes are a fraction of a second apart: cutting the fraction would give
  // them equal times. Whole seconds keep their short form.
  if (f.msec != 0) {
    out += '.';
    appendIntPadded(out, f.msec, 3);
  }
  out += 'Z';
}

std::string DateTimeToGPXTime(double dateTime) {
  std::string out;
  appendGPXTime(out, dateTime);
  return out;
}
