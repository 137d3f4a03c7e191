// Canvas line rasteriser: exact integer lines that leave out the end pixel, clipped to the
// image without changing which pixels are lit, in copy or "not xor" mode.
#include <algorithm>
#include <cstdlib>

#include "views/Canvas.h"

namespace {

inline int64_t floorDiv(int64_t a, int64_t b) {  // b > 0
  int64_t q = a / b;
  if ((a % b) != 0 && a < 0) --q;
  return q;
}

inline void putPixel(uint32_t* p, uint32_t argb, bool notXor) {
  *p = notXor ? (~(*p ^ argb) | 0xFF000000u) : argb;
}

}  // namespace

void Canvas::PlotSpan(uint32_t* bits, int stride, int x, int y, bool xMajor, uint32_t argb) {
  const int w = std::max(1, Pen.Width);
  const bool notXor = Pen.Mode == TPenMode::NotXor;
  const int off = w / 2;
  const int width = image_.width(), height = image_.height();
  if (xMajor) {
    if (x < 0 || x >= width) return;
    const int y0 = std::max(0, y - off), y1 = std::min(height - 1, y - off + w - 1);
    for (int yy = y0; yy <= y1; ++yy) putPixel(bits + static_cast<ptrdiff_t>(yy) * stride + x, argb, notXor);
  } else {
    if (y < 0 || y >= height) return;
    const int x0 = std::max(0, x - off), x1 = std::min(width - 1, x - off + w - 1);
    uint32_t* row = bits + static_cast<ptrdiff_t>(y) * stride;
    for (int xx = x0; xx <= x1; ++xx) putPixel(row + xx, argb, notXor);
  }
}

void Canvas::DrawLine(int x0, int y0, int x1, int y1) {
  if (IsNoColor(Pen.Color) || image_.isNull()) return;
  const uint32_t argb = ColorToArgb(Pen.Color);
  auto* bits = reinterpret_cast<uint32_t*>(image_.bits());
  const int stride = static_cast<int>(image_.bytesPerLine() / 4);
  const int64_t dx = static_cast<int64_t>(x1) - x0, dy = static_cast<int64_t>(y1) - y0;
  const int64_t adx = std::llabs(dx), ady = std::llabs(dy);
  if (adx == 0 && ady == 0) {
    // A wide pen leaves a dot where a zero-length line is drawn; a thin one leaves nothing.
    const int w = Pen.Width;
    if (w < 2) return;
    for (int k = 0; k < w; ++k) PlotSpan(bits, stride, x0 - w / 2 + k, y0, true, argb);
    return;
  }
  const bool xMajor = adx >= ady;
  const int64_t n = xMajor ? adx : ady;
  const int64_t major0 = xMajor ? x0 : y0, minor0 = xMajor ? y0 : x0;
  const int64_t dMinor = xMajor ? dy : dx;
  const int64_t step = (xMajor ? dx : dy) > 0 ? 1 : -1;
  const int64_t limit = xMajor ? Width() : Height();
  // Only the steps whose major coordinate falls in the image are walked.
  int64_t tLo, tHi;
  if (step > 0) {
    tLo = std::max<int64_t>(0, -major0);
    tHi = std::min<int64_t>(n - 1, limit - 1 - major0);
  } else {
    tLo = std::max<int64_t>(0, major0 - (limit - 1));
    tHi = std::min<int64_t>(n - 1, major0);
  }
  if (tLo > tHi) return;
  // minor(t) = minor0 + floor(t * dMinor / n + 1/2), kept as quotient and remainder.
  const int64_t twoN = 2 * n;
  int64_t num = 2 * tLo * dMinor + n;
  int64_t q = floorDiv(num, twoN);
  int64_t r = num - q * twoN;
  const int64_t inc = 2 * dMinor;
  for (int64_t t = tLo; t <= tHi; ++t) {
    const int major = static_cast<int>(major0 + step * t);
    const int64_t minor = minor0 + q;
    if (minor > -kPixelLimit && minor < kPixelLimit) {
      if (xMajor)
        PlotSpan(bits, stride, major, static_cast<int>(minor), true, argb);
      else
        PlotSpan(bits, stride, static_cast<int>(minor), major, false, argb);
    }
    r += inc;
    while (r >= twoN) { r -= twoN; ++q; }
    while (r < 0) { r += twoN; --q; }
  }
}
