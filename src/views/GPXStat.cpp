// TGPXStat: size, snapshot, clearing, the graph layout and curve, hairlines and zoom.
#include "views/GPXStat.h"

#include <algorithm>
#include <cmath>

#include "base/DateTime.h"
#include "base/NumberText.h"
#include "base/Translate.h"
#include "model/PointListEdit.h"

namespace {

const char* const kDegreeSign = "\xC2\xB0";
// The rotated caption's cell height in pixels.
constexpr int kCaptionCell = 12;

void copyWhole(::Canvas& to, const ::Canvas& from, const TRect& rect) {
  const TCopyMode mode = to.CopyMode;
  to.CopyMode = TCopyMode::SrcCopy;
  to.CopyRect(rect, from, rect);
  to.CopyMode = mode;
}

}  // namespace

double TStatPoint::PixelDistance(int x, int y) const {
  const double dx = static_cast<double>(X) - x, dy = static_cast<double>(Y) - y;
  if (dx == 0 && dy == 0) return 0.0;
  return std::sqrt(dx * dx + dy * dy);
}

TStatPoint* TStatPointList::GetItem(int index) {
  if (index < 0 || index >= Count()) throwListIndexError(index, Count());
  return &items_[static_cast<size_t>(index)];
}

const TStatPoint* TStatPointList::GetItem(int index) const {
  return const_cast<TStatPointList*>(this)->GetItem(index);
}

void TStatPointList::Delete(int index) {
  GetItem(index);  // the index error for a bad index
  items_.erase(items_.begin() + index);  // order kept: still sorted when it was
}

template <class Distance>
int TStatPointList::nearest(Distance distance) const {
  int best = -1;
  double bestDistance = 999999999999.0;
  for (size_t i = 0; i < items_.size(); ++i) {
    const double d = distance(items_[i]);
    if (d < bestDistance) {  // strictly nearer: the first of equal distances wins
      bestDistance = d;
      best = static_cast<int>(i);
    }
  }
  return best;
}

void TStatPointList::PositionsSet() {
  sortedX_ = std::is_sorted(items_.begin(), items_.end(),
                            [](const TStatPoint& a, const TStatPoint& b) { return a.X < b.X; });
}

int TStatPointList::NearestX(int x) const {
  if (sortedX_ && !items_.empty()) {
    auto byX = [](const TStatPoint& p, int v) { return p.X < v; };
    const auto right = std::lower_bound(items_.begin(), items_.end(), x, byX);
    if (right == items_.begin()) return 0;
    // The first point of the run left of x wins a tie, being the earlier one.
    const auto left = std::lower_bound(items_.begin(), right, (right - 1)->X, byX);
    if (right == items_.end() || x - left->X <= right->X - x) return static_cast<int>(left - items_.begin());
    return static_cast<int>(right - items_.begin());
  }
  return nearest([x](const TStatPoint& p) { return std::fabs(static_cast<double>(p.X) - x); });
}

int TStatPointList::NearestXY(int x, int y) const {
  return nearest([x, y](const TStatPoint& p) { return p.PixelDistance(x, y); });
}

bool StatModeByTime(uint8_t mode) {
  switch (mode) {
    case smAltitudeTime: case smSpeedTime: case smAngleTime: case smDistanceTime: case smSatTime:
    case smHDOPTime:
      return true;
    default:
      return false;
  }
}

TGPXStat::TGPXStat() { Clear(); }

void TGPXStat::SetWidth(int value) {
  Width = std::max(0, value);
  Snapshot.SetSize(Width, Height);
}

void TGPXStat::SetHeight(int value) {
  Height = std::max(0, value);
  Snapshot.SetSize(Width, Height);
}

void TGPXStat::SetSize(int width, int height) {
  SetWidth(width);
  SetHeight(height);
}

void TGPXStat::SetRect(const TRect& rect) {
  SetSize(std::abs(rect.Right - rect.Left), std::abs(rect.Bottom - rect.Top));
}

void TGPXStat::SaveSnapshot() {
  if (Canvas) copyWhole(Snapshot, *Canvas, GetRect());
}

void TGPXStat::RestoreSnapshot() {
  if (Canvas) copyWhole(*Canvas, Snapshot, GetRect());
}

void TGPXStat::Clear() {
  Mode = smNone;
  MouseX = MouseY = 0;
  if (Canvas) {
    Canvas->Brush.Color = Options.BackgroundColor;
    Canvas->Brush.Style = TBrushStyle::Solid;
    Canvas->FillRect(GetRect());
  }
  FirstIndex = LastIndex = 0;
  SelStart = SelEnd = -1;
  SelActive = 0;
  Points.Clear();
  Points.SourceList = nullptr;
}

void TGPXStat::Redraw() {
  if (!Canvas || !GPX) return;
  Canvas->Brush.Color = Options.BackgroundColor;
  Canvas->Brush.Style = TBrushStyle::Solid;
  Canvas->FillRect(GetRect());
  if (Mode >= 1 && Mode <= 11) DrawGraph(Points.SourceList, Mode, FirstIndex, LastIndex);
}

std::string TGPXStat::Caption(uint8_t mode) {
  switch (mode) {
    case smAltitudeTime: case smAltitudeIndex: return _("Altitude");
    case smSpeedTime: return _("Speed");
    case smAngleTime: case smAngleIndex: return _("Angle");
    case smDistanceTime: case smDistanceIndex: return _("Distance");
    case smSatTime: case smSatIndex: return _("Satellite");
    case smHDOPTime: case smHDOPIndex: return _("HDOP");
    default: return {};
  }
}

std::string TGPXStat::Unit(uint8_t mode) {
  switch (mode) {
    case smAltitudeTime: case smAltitudeIndex: case smDistanceTime: case smDistanceIndex:
      return " " + _("m");
    case smSpeedTime: return " " + _("km/h");
    case smAngleTime: case smAngleIndex: return std::string(" ") + kDegreeSign;
    case smSatTime: case smSatIndex: return " ";
    default: return {};
  }
}

void TGPXStat::SetLabelFont() {
  if (!Canvas) return;
  Canvas->Font = TFont{};  // "MS Sans Serif", 8 points, upright
  Canvas->Font.Color = Options.TextColor;
}

void TGPXStat::DrawVerticalCaption(const std::string& caption, int left, int top, int right, int bottom) {
  const std::string text = trim(caption);
  Canvas->Font.Name = "Arial";
  Canvas->Font.Size = 9;  // a 12-pixel cell
  Canvas->Font.Orientation = 900;
  Canvas->Font.Color = Options.TextColor;
  Canvas->Brush.Color = Options.BackgroundColor;
  Canvas->Brush.Style = TBrushStyle::Solid;
  const TSize extent = Canvas->TextExtent(text);
  const int x = (right - left - extent.cy) / 2;
  const int textBottom = bottom - (bottom - top - extent.cx) / 2 + kCaptionCell;
  // Aligned to the bottom, the turned text starts one cell above the rectangle's bottom:
  // centred in the box.
  Canvas->TextOut(x, textBottom - kCaptionCell, text);
  SetLabelFont();
}

void TGPXStat::BuildValues(const TGPXwptList& list, uint8_t mode, int first, int last, double& min,
                           double& max) {
  auto point = [&list](int i) { return list.GetPoint(i); };
  auto count = [&](double v) {
    if (v < min) min = v;
    if (v > max) max = v;
  };
  auto add = [this](TGPXwpt* source, double value) { Points.Add({0, 0, source, value}); };
  // One counted value a point, from the point alone.
  auto each = [&](auto valueOf) {
    for (int i = first; i <= last; ++i) {
      TGPXwpt* p = point(i);
      const double v = valueOf(*p);
      add(p, v);
      count(v);
    }
  };
  Points.Reserve(last - first + 1);
  switch (mode) {
    case smAltitudeTime:
    case smAltitudeIndex:
      each([](const TGPXwpt& p) { return p.Ele; });
      break;
    case smSpeedTime:
      for (int i = first; i <= last; ++i) {
        TGPXwpt* p = point(i);
        const TGPXwpt* q = point(i < last ? i + 1 : i - 1);
        double d = p->DistanceToPoint(*q, false) / 1000.0;
        double dt = daysBetween(p->Time, q->Time) * 24.0;
        if (i > first && i < last) {
          const TGPXwpt* before = point(i - 1);
          d += p->DistanceToPoint(*before, false) / 1000.0;
          dt += daysBetween(before->Time, p->Time) * 24.0;
        }
        double v = (dt == 0.0 || d == 0.0) ? 0.0 : d / dt;
        if (i == last) v = -v;  // the backward leg
        add(p, v);
        count(v);
      }
      break;
    case smAngleTime:
    case smAngleIndex: {
      add(point(first), 0.0);
      for (int i = first + 1; i <= last - 1; ++i) {
        const double v = 180.0 - std::fabs(VertexAngle(*point(i - 1), *point(i), *point(i + 1)));
        add(point(i), v);
        count(v);
      }
      auto& items = Points.Items();
      if (items.size() > 2) items.front().Value = items[1].Value;
      add(point(last), 0.0);
      if (items.size() > 2) items.back().Value = items[items.size() - 2].Value;
      break;
    }
    case smDistanceTime:
    case smDistanceIndex: {
      double total = 0.0;
      add(point(first), total);
      count(total);
      for (int i = first + 1; i <= last; ++i) {
        total += point(i)->DistanceToPoint(*point(i - 1), false);
        add(point(i), total);
        count(total);
      }
      break;
    }
    case smSatTime:
    case smSatIndex:
      each([](const TGPXwpt& p) { return p.data().sat == 255 ? 0.0 : p.data().sat; });
      break;
    case smHDOPTime:
    case smHDOPIndex:
      each([](const TGPXwpt& p) { return p.data().hdop == -1.0 ? 0.0 : p.data().hdop; });
      break;
    default:
      break;
  }
}

bool TGPXStat::DrawGraph(TGPXwptList* list, uint8_t mode, int first, int last) {
  // A reversed range has nothing to plot.
  if (!list || !Canvas || first < 0 || last > list->Count() - 1 || first > last) return false;
  SetLabelFont();
  Mode = mode;
  if (mode == smNone || mode > 11) return false;
  FirstIndex = first;
  LastIndex = last;
  const bool byTime = StatModeByTime(mode);
  // Time runs along the day count, which before 1899-12-30 still grows with the time of day.
  const double t0 = dateTimeToDayCount(list->GetPoint(first)->Time);
  const double t1 = dateTimeToDayCount(list->GetPoint(last)->Time);
  LeftMargin = 5;
  BottomMargin = Canvas->TextHeight("SomeSampleText0123456789") + 2;

  double min = 999999999.0;
  double max = (mode == smAltitudeTime || mode == smAltitudeIndex) ? -999999999.0 : 0.0;
  Points.Clear();
  Points.SourceList = list;
  BuildValues(*list, mode, first, last, min, max);

  const std::string unit = Unit(mode);
  const std::string maxLabel = formatFixed(max, 0) + unit, minLabel = formatFixed(min, 0) + unit;
  const int maxWidth = Canvas->TextWidth(maxLabel), minWidth = Canvas->TextWidth(minLabel);
  LeftMargin = std::max(maxWidth + 2, minWidth + 2);
  const int labelRow = Height - PixelOf(1.5L * Canvas->TextHeight(maxLabel));
  DrawVerticalCaption(Caption(mode), 0, BottomMargin, LeftMargin, labelRow);

  Canvas->Brush.Color = Options.BackgroundColor;
  Canvas->Brush.Style = TBrushStyle::Solid;
  Canvas->TextOut((LeftMargin - 2 - maxWidth) / 2, 0, maxLabel);
  Canvas->TextOut((LeftMargin - 2 - minWidth) / 2, labelRow, minLabel);
  const std::string leftLabel = byTime ? list->GetPoint(first)->TimeToStr() : _("Point") + " " + formatInt(first);
  const std::string rightLabel = byTime ? list->GetPoint(last)->TimeToStr() : _("Point") + " " + formatInt(last);
  Canvas->TextOut(LeftMargin, PlotBottom() + 1, leftLabel);
  Canvas->TextOut(Width - (Canvas->TextWidth(rightLabel) + 2), PlotBottom() + 1, rightLabel);

  Canvas->Pen = TPen{Options.AxisColor, 1, TPenMode::Copy};
  Canvas->MoveTo(LeftMargin, 0);
  Canvas->LineTo(LeftMargin, PlotBottom());
  Canvas->LineTo(Width, PlotBottom());

  const double span = byTime ? t1 - t0 : static_cast<double>(last - first);
  if (span == 0) return false;
  // Scales are held as doubles but worked out, like the positions below, in extended
  // precision: a difference of two doubles rounded first can land a point one pixel off.
  XScale = static_cast<double>((Width - (LeftMargin + 1)) / static_cast<long double>(span));
  YScale = max == min ? 0.0 : static_cast<double>((Height - BottomMargin) / (static_cast<long double>(max) - min));

  auto& items = Points.Items();
  for (size_t k = 0; k < items.size(); ++k) {
    TStatPoint& p = items[k];
    const long double x = byTime ? (static_cast<long double>(dateTimeToDayCount(p.Source->Time)) - t0) * XScale
                                 : static_cast<long double>(k) * XScale;
    p.X = PixelOf(x) + LeftMargin;
    p.Y = Height - (PixelOf((static_cast<long double>(p.Value) - min) * YScale) + BottomMargin);
  }
  Points.PositionsSet();

  Canvas->Pen = TPen{Options.LineColor, 1, TPenMode::Copy};
  for (size_t k = 1; k < items.size(); ++k) {
    Canvas->MoveTo(items[k - 1].X, items[k - 1].Y);
    Canvas->LineTo(items[k].X, items[k].Y);
  }
  SaveSnapshot();
  return true;
}

bool TGPXStat::DrawChecked(TGPXwptList* list, uint8_t mode) {
  if (!list || list->Count() < 2) return false;
  const TGPXwpt* p0 = list->GetPoint(0);
  if (StatModeByTime(mode) && p0->Time == 0) return false;
  if ((mode == smSatTime || mode == smSatIndex) && p0->data().sat == 255) return false;
  if ((mode == smHDOPTime || mode == smHDOPIndex) && p0->data().hdop == -1.0) return false;
  if (FirstIndex == 0 && LastIndex == 0) return DrawGraph(list, mode, 0, list->Count() - 1);
  return DrawGraph(list, mode, FirstIndex, LastIndex);
}

bool TGPXStat::DrawAltitude(TGPXwptList* list, bool byTime) {
  return DrawChecked(list, byTime ? smAltitudeTime : smAltitudeIndex);
}
bool TGPXStat::DrawSpeed(TGPXwptList* list) { return DrawChecked(list, smSpeedTime); }
bool TGPXStat::DrawAngle(TGPXwptList* list, bool byTime) {
  return DrawChecked(list, byTime ? smAngleTime : smAngleIndex);
}
bool TGPXStat::DrawDistance(TGPXwptList* list, bool byTime) {
  return DrawChecked(list, byTime ? smDistanceTime : smDistanceIndex);
}
bool TGPXStat::DrawSatellites(TGPXwptList* list, bool byTime) {
  return DrawChecked(list, byTime ? smSatTime : smSatIndex);
}
bool TGPXStat::DrawHDOP(TGPXwptList* list, bool byTime) {
  return DrawChecked(list, byTime ? smHDOPTime : smHDOPIndex);
}

void TGPXStat::Zoom(int x, bool in) {
  TGPXwptList* list = Points.SourceList;
  const int k = Points.NearestX(x);
  if (!list || k < 0) return;
  const int span = LastIndex - FirstIndex;
  const double half = static_cast<double>(span * 0.2L / 2);
  const double shift = static_cast<double>((span / 2.0L - k) * 0.2L);
  const int m = FirstIndex + k;
  // The sums too in extended precision: in double 7 + 0.7 + 0.3 would round up to 8.
  const long double first = FirstIndex, last = LastIndex;
  int newFirst = in ? TruncPixel(first + half - shift) : TruncPixel(first - half + shift);
  int newLast = in ? TruncPixel(last - half - shift) : TruncPixel(last + half + shift);
  newFirst = std::max(std::min(newFirst, m), 0);
  newLast = std::min(std::max(newLast, m), list->Count() - 1);
  if (in) {
    if (newFirst >= newLast - 1) return;  // fewer than three points would remain
  } else if (newFirst >= newLast - 1) {
    newFirst = std::max(0, newLast - 2);  // a short list shows whole, never cleared
  }
  const uint8_t mode = Mode;
  Clear();
  DrawGraph(list, mode, newFirst, newLast);
}

void TGPXStat::ZoomIn(int x) { Zoom(x, true); }
void TGPXStat::ZoomOut(int x) { Zoom(x, false); }

void TGPXStat::DrawHairlines(int k) {
  if (!Canvas || k < 0 || k >= Points.Count()) return;
  const TStatPoint& p = *Points.GetItem(k);
  Canvas->Pen = TPen{Options.SelectionColor, 1, TPenMode::Copy};
  Canvas->MoveTo(p.X, 0);
  Canvas->LineTo(p.X, PlotBottom());
  if (Options.ShowHorizontalHairline != 1 && Options.ShowHorizontalHairline != 2) return;
  if (Options.ShowHorizontalHairline == 2) Canvas->Pen.Mode = TPenMode::NotXor;
  Canvas->MoveTo(LeftMargin, p.Y);
  Canvas->LineTo(Width, p.Y);
  Canvas->Pen.Mode = TPenMode::Copy;
}

void TGPXStat::TintRange(int xa, int xb) {
  if (!Canvas) return;
  const TRect r{std::min(xa, xb), 0, std::max(xa, xb), PlotBottom()};
  Canvas->Brush.Color = Options.RangeSelectionColor;
  Canvas->Brush.Style = TBrushStyle::Solid;
  Canvas->FillRect(r);
  // Snapshot AND range colour: the curve and the texts stay visible under the tint.
  Canvas->CopyMode = TCopyMode::MergeCopy;
  Canvas->CopyRect(r, Snapshot, r);
  Canvas->CopyMode = TCopyMode::SrcCopy;
}

void TGPXStat::DrawRangeMarker(int x) {
  if (!Canvas) return;
  Canvas->Pen = TPen{Options.RangeSelectionColor, 1, TPenMode::NotXor};
  Canvas->MoveTo(x, 0);
  Canvas->LineTo(x, PlotBottom());
  Canvas->Pen.Mode = TPenMode::Copy;
}
