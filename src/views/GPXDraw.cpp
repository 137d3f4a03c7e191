// TGPXDraw: the view object, projection, fitting, zooming, panning and snapshots.
#include "views/GPXDraw.h"

#include <algorithm>
#include <cmath>

namespace {

// About 100 m of latitude: the smallest extent FitAll gives data in each direction.
constexpr double kMinFitExtent = 0.001;

void widenToMinimumExtent(double& low, double& high) {
  if (high - low >= kMinFitExtent) return;
  const double middle = low + (high - low) / 2;
  low = middle - kMinFitExtent / 2;
  high = middle + kMinFitExtent / 2;
}

TBBox pointBox(const TPoint4D2& p) {
  TBBox b;
  b.MaxLat = b.MinLat = p.Lat;
  b.MaxLon = b.MinLon = p.Lon;
  b.Valid = true;
  return b;
}

}  // namespace

TGPXDraw::TGPXDraw() { Reset(); }

void TGPXDraw::Reset() {
  ViewBox.Clear();
  Messages.clear();
  ToolMode = 1;
  AnchorX = AnchorY = MouseX = MouseY = 0;
  if (GPX) GPX->Selection.Clear();
  if (Canvas) {
    Canvas->Brush.Color = Options.BackgroundColor;
    Canvas->Brush.Style = TBrushStyle::Solid;
    Canvas->FillRect(GetRect());
    CopyCanvas(SnapshotA, *Canvas);
  }
  SetWidth(0);
  SetHeight(0);
}

void TGPXDraw::SetGPX(TGPX* gpx) {
  GPX = gpx;
  CurrentList = nullptr;
  CurrentPoint = nullptr;
}

void TGPXDraw::SetWidth(int value) {
  Width = std::max(0, value);
  SnapshotA.SetSize(Width, Height);
  SnapshotB.SetSize(Width, Height);
}

void TGPXDraw::SetHeight(int value) {
  Height = std::max(0, value);
  SnapshotA.SetSize(Width, Height);
  SnapshotB.SetSize(Width, Height);
}

void TGPXDraw::SetSize(int width, int height) {
  SetWidth(width);
  SetHeight(height);
}

void TGPXDraw::SetRect(const TRect& rect) {
  SetSize(std::abs(rect.Right - rect.Left), std::abs(rect.Bottom - rect.Top));
}

bool TGPXDraw::ComputeScale(bool Shrink) {
  TBBox& b = ViewBox;
  if (!HasSize() || b.MaxLon == b.MinLon || b.MaxLat == b.MinLat) return false;
  const double sx = std::fabs(Width / (b.MaxLon - b.MinLon));
  const double sy = std::fabs(Height / (b.MaxLat - b.MinLat));
  const long double scale = std::min(sx / kDrawK, static_cast<long double>(sy)) / (Shrink ? kDrawShrink : 1.0);
  const double s = static_cast<double>(scale);
  // A box too small or too odd for a finite scale would divide by zero or overflow later.
  if (!std::isfinite(s) || s <= 0 || !std::isfinite(sx) || !std::isfinite(sy)) return false;
  b.ScaleX = sx;
  b.ScaleY = sy;
  b.Scale = s;
  return true;
}

void TGPXDraw::CenterBox() {
  TBBox& b = ViewBox;
  // Half the free pixels of each direction go to each side.
  const int mx = std::abs(PixelOf(Width - (static_cast<long double>(b.MaxLon) - b.MinLon) * b.Scale * kDrawK) / 2);
  const int my = std::abs(PixelOf(Height - (static_cast<long double>(b.MaxLat) - b.MinLat) * b.Scale) / 2);
  b.MaxLat += my / b.Scale;
  b.MinLat -= my / b.Scale;
  b.MinLon -= static_cast<double>(mx / (b.Scale * kDrawK));
  b.MaxLon += static_cast<double>(mx / (b.Scale * kDrawK));
}

bool TGPXDraw::FitAll(bool Center, bool Shrink) {
  if (!HasSize()) return false;
  ViewBox.Clear();
  Messages.emplace_back();
  TBBox data;
  auto gather = [&data](TPointList2& list) {
    list.UpdateBBox(true);
    data.Extend(list.BBox);
    // A list of one point has no box of its own, but its point is data to show.
    if (list.Count() == 1 && list.GetPoint(0)->Visible) data.Extend(pointBox(*list.GetPoint(0)));
  };
  if (GPX) {
    gather(GPX->Waypoints);
    for (auto& r : GPX->Routes.Items()) gather(*r);
    for (auto& t : GPX->Tracks.Items())
      for (auto& s : t->Items()) gather(*s);
  }
  if (!data.Valid) return false;
  // Data on one position, meridian or parallel has no scale of its own: it is shown with
  // the smallest extent a fit gives, so that it is drawn and can be zoomed.
  widenToMinimumExtent(data.MinLat, data.MaxLat);
  widenToMinimumExtent(data.MinLon, data.MaxLon);
  ViewBox.MaxLat = data.MaxLat, ViewBox.MinLat = data.MinLat;
  ViewBox.MaxLon = data.MaxLon, ViewBox.MinLon = data.MinLon;
  if (!ComputeScale(Shrink)) {
    ViewBox.Clear();
    return false;
  }
  if (Center) CenterBox();
  ViewBox.Valid = true;
  return true;
}

double TGPXDraw::XToLon(int x) const {
  if (ViewBox.Scale == 0) return 0.0;
  return static_cast<double>(x / ViewBox.Scale / kDrawK + ViewBox.MinLon);
}

double TGPXDraw::YToLat(int y) const {
  if (ViewBox.Scale == 0) return 0.0;
  return (static_cast<double>(Height) - y) / ViewBox.Scale + ViewBox.MinLat;
}

bool TGPXDraw::IsPointVisible(const TPoint4D2& p) const {
  const int x = PointToX(p), y = PointToY(p);
  return x >= 0 && x <= Width && y >= 0 && y <= Height;
}

bool TGPXDraw::ZoomToRect(const TRect& rect) {
  if (!ViewBox.Valid || !HasSize()) return false;
  if (ViewBox.Scale == 0 && !ComputeScale(false)) return false;
  const TBBox r = RectLimits(rect);
  if (r.MaxLon == r.MinLon || r.MaxLat == r.MinLat) return false;
  const TBBox saved = ViewBox;
  ViewBox.MaxLat = r.MaxLat, ViewBox.MinLat = r.MinLat, ViewBox.MaxLon = r.MaxLon, ViewBox.MinLon = r.MinLon;
  if (!ComputeScale(false)) {
    ViewBox = saved;
    return false;
  }
  return true;
}

bool TGPXDraw::ZoomIn() {
  const int dx = TruncPixel(Width * kDrawZoomStep / 2), dy = TruncPixel(Height * kDrawZoomStep / 2);
  return ZoomToRect({dx, Height - dy, Width - dx, dy});
}

bool TGPXDraw::ZoomOut() {
  const int dx = TruncPixel(Width * kDrawZoomStep / 2), dy = TruncPixel(Height * kDrawZoomStep / 2);
  return ZoomToRect({-dx, Height + dy, Width + dx, -dy});
}

bool TGPXDraw::WheelZoomIn(const TPoint& mouse) {
  const double hx = Width * kDrawZoomStep / 2, hy = Height * kDrawZoomStep / 2;
  const double ox = (Width / 2.0 - mouse.X) * kDrawZoomStep, oy = (Height / 2.0 - mouse.Y) * kDrawZoomStep;
  return ZoomToRect({TruncPixel(hx - ox), TruncPixel(Height - hy + oy), TruncPixel(Width - hx - ox),
                     TruncPixel(hy + oy)});
}

bool TGPXDraw::WheelZoomOut(const TPoint& mouse) {
  const double hx = Width * kDrawZoomStep / 2, hy = Height * kDrawZoomStep / 2;
  const double ox = (Width / 2.0 - mouse.X) * kDrawZoomStep, oy = (Height / 2.0 - mouse.Y) * kDrawZoomStep;
  return ZoomToRect({TruncPixel(-hx + ox), TruncPixel(Height + hy - oy), TruncPixel(Width + hx + ox),
                     TruncPixel(-hy - oy)});
}

void TGPXDraw::PanTo(int x, int y) {
  if (AnchorX == 0 && AnchorY == 0) {
    AnchorX = x, AnchorY = y;
    return;
  }
  PanBy(AnchorX, AnchorY, x, y);
  AnchorX = x, AnchorY = y;
}

bool TGPXDraw::PanBy(int x0, int y0, int x1, int y1) {
  const int dx = x0 - x1, dy = y1 - y0;
  return ZoomToRect({dx, dy, dx + Width, dy + Height});
}

TRect TGPXDraw::DragRect(int x, int y) const {
  return {std::min(x, AnchorX), Height - std::max(y, AnchorY), std::max(x, AnchorX), Height - std::min(y, AnchorY)};
}

TBBox TGPXDraw::RectLimits(const TRect& rect) const {
  TBBox r;
  r.MaxLat = YToLat(Height - std::max(rect.Top, rect.Bottom));
  r.MinLat = YToLat(Height - std::min(rect.Top, rect.Bottom));
  r.MaxLon = XToLon(std::max(rect.Left, rect.Right));
  r.MinLon = XToLon(std::min(rect.Left, rect.Right));
  return r;
}

bool TGPXDraw::ZoomToDragRect(int x, int y) { return ZoomToRect(DragRect(x, y)); }

bool TGPXDraw::ZoomToPointList(TPointList2* list) {
  return list && ZoomToPointRange(list, 0, list->Count() - 1);
}

bool TGPXDraw::ZoomToPointRange(TPointList2* list, int first, int last) {
  if (!list || !HasSize() || first < 0 || first > last || last >= list->Count()) return false;
  const TBBox keep = list->BBox;
  list->UpdateBBoxRange(first, last, true);
  const TBBox range = list->BBox;
  list->BBox = keep;
  // A range without extent has no scale to centre by: the view stays as it was.
  if (!range.Valid || range.MaxLon == range.MinLon || range.MaxLat == range.MinLat) return false;
  const TBBox saved = ViewBox;
  ViewBox.Assign(range);
  if (!ComputeScale(false)) {
    ViewBox = saved;
    return false;
  }
  CenterBox();
  // The box now has limits and a scale; an invalid one would hide the list just zoomed to.
  ViewBox.Valid = true;
  return true;
}

void TGPXDraw::CopyCanvas(::Canvas& to, const ::Canvas& from) {
  const TCopyMode mode = to.CopyMode;
  to.CopyMode = TCopyMode::SrcCopy;
  to.CopyRect(GetRect(), from, GetRect());
  to.CopyMode = mode;
}

void TGPXDraw::SaveSnapshot() {
  if (!Canvas) return;
  CopyCanvas(SnapshotA, *Canvas);
  CopyCanvas(SnapshotB, *Canvas);
}

void TGPXDraw::RestoreSnapshot() {
  if (Canvas) CopyCanvas(*Canvas, SnapshotA);
}

void TGPXDraw::SaveSnapshotB() {
  if (Canvas) CopyCanvas(SnapshotB, *Canvas);
}

void TGPXDraw::RestoreSnapshotB() {
  if (Canvas) CopyCanvas(*Canvas, SnapshotB);
}
