// Canvas: sizing, rectangles, pixels, ellipses, text and rectangle copies.
#include "views/Canvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cstring>

Canvas::Canvas(int width, int height) { SetSize(width, height); }

void Canvas::SetSize(int width, int height) {
  width = std::max(0, width);
  height = std::max(0, height);
  if (width == Width() && height == Height()) return;
  if (width == 0 || height == 0) {
    image_ = QImage();
    return;
  }
  QImage next(width, height, QImage::Format_RGB32);
  next.fill(0xFFFFFFFFu);
  const int w = std::min(width, Width()), h = std::min(height, Height());
  for (int y = 0; y < h; ++y)
    std::memcpy(next.scanLine(y), image_.constScanLine(y), static_cast<size_t>(w) * 4);
  image_ = std::move(next);
}

void Canvas::FillRect(const TRect& rect) {
  if (IsNoColor(Brush.Color) || image_.isNull()) return;
  const int l = std::max(0, std::min(rect.Left, rect.Right));
  const int r = std::min(Width(), std::max(rect.Left, rect.Right));
  const int t = std::max(0, std::min(rect.Top, rect.Bottom));
  const int b = std::min(Height(), std::max(rect.Top, rect.Bottom));
  const uint32_t argb = ColorToArgb(Brush.Color);
  for (int y = t; y < b; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(image_.scanLine(y));
    std::fill(row + std::max(0, l), row + std::max(l, r), argb);
  }
}

void Canvas::MoveTo(int x, int y) { PenPos = {x, y}; }

void Canvas::LineTo(int x, int y) {
  DrawLine(PenPos.X, PenPos.Y, x, y);
  PenPos = {x, y};
}

void Canvas::Polyline(const TPoint* points, int count) {
  if (count <= 0) return;
  TPoint saved = PenPos;
  MoveTo(points[0].X, points[0].Y);
  for (int i = 1; i < count; ++i) LineTo(points[i].X, points[i].Y);
  PenPos = saved;
}

void Canvas::SetPixel(int x, int y, uint32_t color) {
  if (IsNoColor(color) || x < 0 || y < 0 || x >= Width() || y >= Height()) return;
  reinterpret_cast<uint32_t*>(image_.scanLine(y))[x] = ColorToArgb(color);
}

uint32_t Canvas::GetPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return kNoColor;
  return ArgbToColor(reinterpret_cast<const uint32_t*>(image_.constScanLine(y))[x]);
}

namespace {

QColor qColor(uint32_t c) { return QColor::fromRgb(ColorToArgb(c)); }

}  // namespace

void Canvas::Ellipse(int left, int top, int right, int bottom) {
  if (image_.isNull()) return;
  QPainter p(&image_);
  p.setRenderHint(QPainter::Antialiasing, false);
  if (Pen.Mode == TPenMode::NotXor) p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
  if (IsNoColor(Pen.Color))
    p.setPen(Qt::NoPen);
  else
    p.setPen(QPen(qColor(Pen.Color), std::max(1, Pen.Width)));
  if (Brush.Style == TBrushStyle::Clear || IsNoColor(Brush.Color))
    p.setBrush(Qt::NoBrush);
  else
    p.setBrush(qColor(Brush.Color));
  // Qt's aliased outline covers one pixel more than the rectangle's size.
  const int l = std::min(left, right), t = std::min(top, bottom);
  const int w = std::abs(right - left) - 1, h = std::abs(bottom - top) - 1;
  if (w < 0 || h < 0) return;
  p.drawEllipse(QRect(l, t, w, h));
}

QFont Canvas::QtFont() const {
  QFont f;
  // The old platform's UI fonts are not here; the system sans font stands in for them.
  if (Font.Name.empty() || Font.Name == "Arial" || Font.Name == "MS Sans Serif") {
    f.setFamily(QStringLiteral("sans-serif"));
    f.setStyleHint(QFont::SansSerif);
  } else {
    f.setFamily(QString::fromStdString(Font.Name));
  }
  // Point sizes at 96 dots per inch, rounded as the old platform did.
  const int size = Font.Size > 0 ? Font.Size : 8;
  f.setPixelSize(std::max(1, (size * 96 + 36) / 72));
  f.setStyleStrategy(QFont::NoAntialias);
  return f;
}

TSize Canvas::TextExtent(const std::string& text) const {
  QFontMetrics fm(QtFont());
  return {fm.horizontalAdvance(QString::fromStdString(text)), fm.height()};
}

void Canvas::TextOut(int x, int y, const std::string& text) {
  if (image_.isNull()) return;
  const QString s = QString::fromStdString(text);
  const QFont font = QtFont();
  QFontMetrics fm(font);
  QPainter p(&image_);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setRenderHint(QPainter::TextAntialiasing, false);
  p.translate(x, y);
  if (Font.Orientation != 0) p.rotate(-Font.Orientation / 10.0);
  if (Brush.Style == TBrushStyle::Solid && !IsNoColor(Brush.Color))
    p.fillRect(QRect(0, 0, fm.horizontalAdvance(s), fm.height()), qColor(Brush.Color));
  if (IsNoColor(Font.Color)) return;
  p.setFont(font);
  p.setPen(qColor(Font.Color));
  // Qt places text by its baseline.
  p.drawText(0, fm.ascent(), s);
}

void Canvas::CopyRect(const TRect& dest, const Canvas& source, const TRect& src) {
  if (image_.isNull() || source.image_.isNull()) return;
  const int dw = dest.Width(), dh = dest.Height();
  if (dw <= 0 || dh <= 0 || src.Width() <= 0 || src.Height() <= 0) return;
  QImage part;
  int sx = src.Left, sy = src.Top;
  const QImage* from = &source.image_;
  if (src.Width() != dw || src.Height() != dh) {
    part = source.image_.copy(src.Left, src.Top, src.Width(), src.Height()).scaled(dw, dh);
    from = &part;
    sx = sy = 0;
  }
  const bool merge = CopyMode == TCopyMode::MergeCopy && !IsNoColor(Brush.Color);
  const uint32_t mask = merge ? ColorToArgb(Brush.Color) : 0xFFFFFFFFu;
  // Columns i of the rectangle that fall inside both images.
  const int i0 = std::max({0, -dest.Left, -sx});
  const int i1 = std::min({dw, Width() - dest.Left, from->width() - sx});
  if (i0 >= i1) return;
  for (int j = 0; j < dh; ++j) {
    const int ty = dest.Top + j, fy = sy + j;
    if (ty < 0 || ty >= Height() || fy < 0 || fy >= from->height()) continue;
    auto* out = reinterpret_cast<uint32_t*>(image_.scanLine(ty)) + (dest.Left + i0);
    const auto* in = reinterpret_cast<const uint32_t*>(from->constScanLine(fy)) + (sx + i0);
    if (merge)
      for (int i = 0; i < i1 - i0; ++i) out[i] = in[i] & mask;
    else
      std::memcpy(out, in, static_cast<size_t>(i1 - i0) * 4);
  }
}
