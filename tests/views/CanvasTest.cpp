// Canvas pixel rules: lines leave out their end pixel, clipping keeps the pixels lit,
// wide and "not xor" pens, text placed by its top-left corner, merge copies.
#include <gtest/gtest.h>

#include <QFontMetrics>

#include "views/Canvas.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFF, kBlack = 0x000000, kRed = 0x0000FF;

Canvas whiteCanvas(int w, int h) {
  Canvas c(w, h);
  c.Brush.Color = kWhite;
  c.FillRect({0, 0, w, h});
  return c;
}

int countColor(const Canvas& c, uint32_t color) {
  int n = 0;
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x) n += c.GetPixel(x, y) == color;
  return n;
}

}  // namespace

TEST(CanvasLine, LeavesOutTheEndPixelInEveryDirection) {
  struct Case { int x0, y0, x1, y1; };
  const Case cases[] = {{2, 5, 12, 5}, {12, 5, 2, 5}, {5, 2, 5, 12}, {5, 12, 5, 2},
                        {2, 2, 12, 12}, {12, 12, 2, 2}, {2, 3, 15, 9}, {15, 9, 2, 3}, {3, 15, 9, 2}};
  for (const Case& k : cases) {
    Canvas c = whiteCanvas(20, 20);
    c.Pen.Color = kRed;
    c.MoveTo(k.x0, k.y0);
    c.LineTo(k.x1, k.y1);
    SCOPED_TRACE(testing::Message() << k.x0 << "," << k.y0 << " -> " << k.x1 << "," << k.y1);
    EXPECT_EQ(c.GetPixel(k.x0, k.y0), kRed);
    EXPECT_EQ(c.GetPixel(k.x1, k.y1), kWhite);
    EXPECT_EQ(countColor(c, kRed), std::max(std::abs(k.x1 - k.x0), std::abs(k.y1 - k.y0)));
    EXPECT_EQ(c.PenPos.X, k.x1);
    EXPECT_EQ(c.PenPos.Y, k.y1);
  }
}

TEST(CanvasLine, ClippingDoesNotMoveThePixels) {
  // The same lines on a large canvas and, shifted, on a small window of it.
  struct Case { int x0, y0, x1, y1; };
  const Case cases[] = {{-50, -20, 150, 63}, {170, -33, -41, 77}, {-7, 90, 31, -70}, {40, -100, 41, 200}};
  for (const Case& k : cases) {
    Canvas big = whiteCanvas(400, 400), small = whiteCanvas(100, 50);
    big.Pen.Color = small.Pen.Color = kBlack;
    big.MoveTo(k.x0 + 150, k.y0 + 150);
    big.LineTo(k.x1 + 150, k.y1 + 150);
    small.MoveTo(k.x0, k.y0);
    small.LineTo(k.x1, k.y1);
    int lit = 0;
    for (int y = 0; y < 50; ++y)
      for (int x = 0; x < 100; ++x) {
        ASSERT_EQ(small.GetPixel(x, y), big.GetPixel(x + 150, y + 150)) << x << "," << y;
        lit += small.GetPixel(x, y) == kBlack;
      }
    EXPECT_GT(lit, 0);
  }
}

TEST(CanvasLine, FarOffEndsAreClampedAndCheap) {
  Canvas c = whiteCanvas(50, 50);
  c.MoveTo(-kPixelLimit, 10);
  c.LineTo(kPixelLimit, 10);
  c.MoveTo(-kPixelLimit, -kPixelLimit);
  c.LineTo(kPixelLimit, kPixelLimit);
  EXPECT_EQ(countColor(c, kBlack), 50 + 49);
}

TEST(CanvasLine, WidePenAndZeroLength) {
  Canvas c = whiteCanvas(20, 20);
  c.Pen.Width = 2;
  c.MoveTo(2, 5);
  c.LineTo(6, 5);
  EXPECT_EQ(countColor(c, kBlack), 8);  // two rows of four
  c = whiteCanvas(20, 20);
  c.MoveTo(10, 10);
  c.LineTo(10, 10);
  EXPECT_EQ(countColor(c, kBlack), 0);  // a thin pen leaves nothing
  c.Pen.Width = 2;
  c.LineTo(10, 10);
  EXPECT_EQ(countColor(c, kBlack), 4);  // a wide one leaves a dot
}

TEST(CanvasLine, NotXorInvertsAndUndoes) {
  Canvas c(10, 10);
  c.Brush.Color = 0xC0C0C0;
  c.FillRect({0, 0, 10, 10});
  c.Pen = {kBlack, 1, TPenMode::NotXor};
  c.MoveTo(0, 4);
  c.LineTo(10, 4);
  EXPECT_EQ(c.GetPixel(3, 4), 0x3F3F3Fu);
  c.MoveTo(0, 4);
  c.LineTo(10, 4);
  EXPECT_EQ(countColor(c, 0xC0C0C0), 100);
}

TEST(CanvasLine, NoColorPaintsNothing) {
  Canvas c = whiteCanvas(10, 10);
  c.Pen.Color = kNoColor | kRed;
  c.MoveTo(0, 0);
  c.LineTo(9, 9);
  c.SetPixel(5, 5, kNoColor);
  c.Brush.Color = kNoColor;
  c.FillRect({0, 0, 10, 10});
  EXPECT_EQ(countColor(c, kWhite), 100);
}

TEST(CanvasText, TopLeftCornerAndBackground) {
  for (bool solid : {false, true}) {
    Canvas c = whiteCanvas(200, 60);
    c.Font.Name = "Arial";
    c.Font.Size = 8;
    c.Font.Color = kBlack;
    c.Brush = {kRed, solid ? TBrushStyle::Solid : TBrushStyle::Clear};
    const std::string text = "Hgjq 123";
    c.TextOut(10, 20, text);
    const QFontMetrics fm(c.QtFont());
    const TSize ext = c.TextExtent(text);
    EXPECT_EQ(ext.cx, fm.horizontalAdvance(QString::fromStdString(text)));
    EXPECT_EQ(ext.cy, fm.height());
    int top = 1000, bottom = -1, left = 1000, right = -1, red = 0;
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 200; ++x) {
        const uint32_t p = c.GetPixel(x, y);
        const bool inCell = x >= 10 && x < 10 + ext.cx && y >= 20 && y < 20 + ext.cy;
        if (p == kRed) {
          ++red;
          EXPECT_TRUE(inCell) << x << "," << y;
        }
        if (p == kBlack) {
          top = std::min(top, y), bottom = std::max(bottom, y);
          left = std::min(left, x), right = std::max(right, x);
        }
      }
    SCOPED_TRACE(solid ? "solid" : "transparent");
    EXPECT_GE(top, 20);
    EXPECT_LE(top, 20 + fm.ascent() - fm.capHeight() + 1);  // capitals reach near the top
    EXPECT_LT(bottom, 20 + ext.cy);
    EXPECT_GT(bottom, 20 + fm.ascent());  // descenders below the baseline
    EXPECT_GE(left, 10);
    EXPECT_LT(right, 10 + ext.cx);
    if (solid)
      EXPECT_GT(red, ext.cx * ext.cy / 2);
    else
      EXPECT_EQ(red, 0);
  }
}

TEST(CanvasText, RotatedFontWritesUpwards) {
  Canvas c = whiteCanvas(100, 200);
  c.Brush.Style = TBrushStyle::Clear;
  c.Font.Orientation = 900;
  c.TextOut(20, 150, "MMMMMMMM");
  int top = 1000, bottom = -1, left = 1000, right = -1;
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 100; ++x)
      if (c.GetPixel(x, y) == kBlack)
        top = std::min(top, y), bottom = std::max(bottom, y), left = std::min(left, x), right = std::max(right, x);
  ASSERT_GE(bottom, 0);
  EXPECT_GT(bottom - top, 3 * (right - left));
  EXPECT_LE(bottom, 150);
  EXPECT_GE(left, 20);
}

TEST(CanvasCopy, SourceAndMergeCopy) {
  Canvas src(4, 4), dst = whiteCanvas(4, 4);
  src.Brush.Color = 0x123456;
  src.FillRect({0, 0, 4, 4});
  dst.CopyRect({1, 1, 3, 3}, src, {0, 0, 2, 2});
  EXPECT_EQ(dst.GetPixel(1, 1), 0x123456u);
  EXPECT_EQ(dst.GetPixel(3, 3), kWhite);
  dst.CopyMode = TCopyMode::MergeCopy;
  dst.Brush.Color = 0x00FF00;
  dst.CopyRect({0, 0, 4, 4}, src, {0, 0, 4, 4});
  EXPECT_EQ(dst.GetPixel(0, 0), 0x003400u);
  // Partly off the target: the pixels keep their places relative to each other.
  Canvas marked = whiteCanvas(4, 4);
  marked.SetPixel(3, 2, kRed);
  Canvas shifted = whiteCanvas(4, 4);
  shifted.CopyRect({-2, -1, 2, 3}, marked, {0, 0, 4, 4});
  EXPECT_EQ(shifted.GetPixel(1, 1), kRed);
  EXPECT_EQ(countColor(shifted, kRed), 1);
  // A different size is stretched into the target rectangle.
  Canvas big = whiteCanvas(8, 8);
  big.CopyRect({0, 0, 8, 8}, src, {0, 0, 4, 4});
  EXPECT_EQ(countColor(big, 0x123456), 64);
}
