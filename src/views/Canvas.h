// The drawing surface of the views: a QImage with a pen, a brush, a font and a copy mode,
// drawing aliased with the pixel rules the views rely on (line ends left out, top-left text).
#pragma once
#include <QFont>
#include <QImage>
#include <cstdint>
#include <string>

#include "views/PixelTypes.h"

// Colours are Windows values $00BBGGRR; bit 24 set means "no colour": nothing is painted.
constexpr uint32_t kNoColor = 0x01000000u;
inline bool IsNoColor(uint32_t color) { return (color & kNoColor) != 0; }
// $00BBGGRR to the image's 0xFFRRGGBB and back.
inline uint32_t ColorToArgb(uint32_t c) {
  return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
inline uint32_t ArgbToColor(uint32_t a) {
  return ((a & 0xFFu) << 16) | (a & 0xFF00u) | ((a >> 16) & 0xFFu);
}

enum class TPenMode : uint8_t { Copy, NotXor };
enum class TBrushStyle : uint8_t { Solid, Clear };
enum class TCopyMode : uint8_t { SrcCopy, MergeCopy };

struct TPen {
  uint32_t Color = 0x000000;
  int Width = 1;
  TPenMode Mode = TPenMode::Copy;
};

struct TBrush {
  uint32_t Color = 0xFFFFFF;
  TBrushStyle Style = TBrushStyle::Solid;
};

struct TFont {
  std::string Name = "MS Sans Serif";
  int Size = 8;            // points at 96 dots per inch
  uint32_t Color = 0x000000;
  int Orientation = 0;     // tenths of a degree, counter-clockwise; 900 writes upwards
};

class Canvas {
public:
  Canvas() = default;
  Canvas(int width, int height);

  int Width() const { return image_.width(); }
  int Height() const { return image_.height(); }
  // Keeps the common top-left part; new area is white.
  void SetSize(int width, int height);
  QImage& Image() { return image_; }
  const QImage& Image() const { return image_; }

  TPen Pen;
  TBrush Brush;
  TFont Font;
  TCopyMode CopyMode = TCopyMode::SrcCopy;
  TPoint PenPos;

  // Brush colour over [Left, Right) x [Top, Bottom), whatever the brush style.
  void FillRect(const TRect& rect);
  void MoveTo(int x, int y);
  // A pen line from PenPos to (x, y) leaving out the end pixel; PenPos := (x, y).
  void LineTo(int x, int y);
  void Polyline(const TPoint* points, int count);
  // Outline with the pen, inside with the brush, in the box [Left, Right) x [Top, Bottom).
  void Ellipse(int left, int top, int right, int bottom);
  void SetPixel(int x, int y, uint32_t color);
  // The colour at a pixel; kNoColor outside the image.
  uint32_t GetPixel(int x, int y) const;

  // Text with its top-left corner at (x, y); with a solid brush its cell is filled first.
  void TextOut(int x, int y, const std::string& text);
  TSize TextExtent(const std::string& text) const;
  int TextWidth(const std::string& text) const { return TextExtent(text).cx; }
  int TextHeight(const std::string& text) const { return TextExtent(text).cy; }
  // The Qt font the canvas draws its Font with (names of the old platform mapped to ours).
  QFont QtFont() const;

  // Copies src's rectangle onto dest's, scaled when the sizes differ, with CopyMode.
  void CopyRect(const TRect& dest, const Canvas& source, const TRect& src);

private:
  // The pen's footprint of one line pixel: a span across the line's major direction.
  void PlotSpan(uint32_t* bits, int stride, int x, int y, bool xMajor, uint32_t argb);
  void DrawLine(int x0, int y0, int x1, int y1);

  QImage image_;
};
