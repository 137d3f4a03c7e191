// Integer pixel geometry shared by the canvas and the drawing views.
#pragma once
#include <cmath>
#include <cstdint>

struct TPoint {
  int X = 0;
  int Y = 0;
};

// Right and Bottom are exclusive where a rectangle is filled or copied.
struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
};

struct TSize {
  int cx = 0;
  int cy = 0;
};

// Far-off coordinates are clamped here: converting a double outside int range is undefined
// behaviour, and the rasteriser needs headroom for 64-bit products of two coordinates.
constexpr int kPixelLimit = 1 << 28;

// The one road from a real coordinate to a pixel: clamped, halves rounded to even.
// NaN goes to the lower limit, well outside any view.
inline int PixelOf(long double v) {
  if (!(v > -kPixelLimit)) return -kPixelLimit;
  if (v > kPixelLimit) return kPixelLimit;
  return static_cast<int>(std::llrint(v));
}

// Truncation toward zero of a real pixel quantity, clamped like PixelOf.
inline int TruncPixel(long double v) {
  if (!(v > -kPixelLimit)) return -kPixelLimit;
  if (v > kPixelLimit) return kPixelLimit;
  return static_cast<int>(v);
}
