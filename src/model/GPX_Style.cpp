// Colour and opacity texts of the gpx_style line extension.
#include "model/GPX_Style.h"

#include <cmath>

#include "base/NumberText.h"

namespace {
// A pair of hexadecimal digits; anything else reads as 0.
uint32_t hexPair(char hi, char lo) {
  int h = hexDigitValue(hi), l = hexDigitValue(lo);
  return (h < 0 || l < 0) ? 0u : static_cast<uint32_t>(h * 16 + l);
}
}  // namespace

std::string ColorToHex(uint32_t color) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (int shift = 0; shift <= 16; shift += 8) {
    uint32_t byte = (color >> shift) & 0xFFu;
    out += digits[byte >> 4];
    out += digits[byte & 0xF];
  }
  return out;
}

uint32_t HexToColor(const std::string& text) {
  std::string t = trim(text);
  if (t.size() > 6) t.resize(6);
  if (t.size() < 6) t.insert(0, 6 - t.size(), '0');
  return hexPair(t[0], t[1]) | hexPair(t[2], t[3]) << 8 | hexPair(t[4], t[5]) << 16;
}

std::string TGPX_StyleLine::GetColorHex() const { return ColorToHex(Color); }

void TGPX_StyleLine::SetColorHex(const std::string& text) { Color = HexToColor(text); }

std::string TGPX_StyleLine::GetOpacityStr() const { return formatGeneral(std::fabs(Opacity)); }

void TGPX_StyleLine::SetOpacityStr(const std::string& text) {
  double v = 0;
  Opacity = (parseFloatStrict(text, v) && std::isfinite(v)) ? std::fabs(v) : 1.0;
}
