// The gpx_style "line" extension of a route or track: colour and opacity.
#pragma once
#include <cstdint>
#include <string>

// Colours are Windows values $00BBGGRR; bit 24 set means "no colour given".
constexpr uint32_t kColorUnset = 0x01000000u;

// Six upper-case hexadecimal digits, red first; bits 24 and up ignored.
std::string ColorToHex(uint32_t color);
// Trimmed; cut to six characters or padded on the left with '0'; a pair that is not
// hexadecimal reads as 0. Bit 24 is clear in the result.
uint32_t HexToColor(const std::string& text);

class TGPX_StyleLine {
public:
  uint32_t Color = kColorUnset;
  double Opacity = 1.0;
  // Set by the reader when the file held a line element: such a style is written back even
  // with the GPX style option off, so opening and saving a coloured file keeps its colours.
  bool FromFile = false;

  void Assign(const TGPX_StyleLine& source) {
    Color = source.Color;
    Opacity = source.Opacity;
    FromFile = source.FromFile;
  }
  std::string GetColorHex() const;
  void SetColorHex(const std::string& text);
  bool IsColorUnset() const { return (Color & kColorUnset) != 0; }
  std::string GetOpacityStr() const;
  void SetOpacityStr(const std::string& text);
};
