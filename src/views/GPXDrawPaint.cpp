// TGPXDraw: painting the document, point symbols, point lists and the rubber band.
#include <string>

#include "base/NumberText.h"
#include "views/GPXDraw.h"

bool TGPXDraw::DrawPoint(const TPoint4D2* point, uint32_t color, int symbol) {
  if (!point || !Canvas || !IsPointVisible(*point)) return false;
  ::Canvas& c = *Canvas;
  const int x = PointToX(*point), y = PointToY(*point);
  const int savedWidth = c.Pen.Width;
  const TBrush savedBrush = c.Brush;
  c.Pen.Color = color;
  c.Pen.Width = 1;
  switch (symbol) {
    case 0:
    case 1: {
      const int h = symbol == 0 ? 3 : 4;
      const TPoint outline[5] = {{x - h, y - 3}, {x - h, y + 3}, {x + h, y + 3}, {x + h, y - 3}, {x - h, y - 3}};
      c.Polyline(outline, 5);
      break;
    }
    case 2:
      c.MoveTo(x - 3, y - 3);
      c.LineTo(x + 3, y + 4);
      c.MoveTo(x - 3, y + 3);
      c.LineTo(x + 3, y - 4);
      break;
    case 3:
      c.Brush = {0xFFFFFF, TBrushStyle::Solid};
      c.Ellipse(x - 4, y - 4, x + 4, y + 4);
      break;
    case 4:
      c.Brush = {color, TBrushStyle::Solid};
      c.Ellipse(x - 3, y - 3, x + 3, y + 3);
      break;
    case 5:
      c.Pen.Width = 2;
      c.MoveTo(x - 3, y - 3);
      c.LineTo(x + 3, y + 3);
      c.MoveTo(x - 3, y + 3);
      c.LineTo(x + 3, y - 3);
      break;
    default:
      c.SetPixel(x, y, color);
      break;
  }
  c.Brush = savedBrush;
  c.Pen.Width = savedWidth;
  return true;
}

bool TGPXDraw::DrawPointListRange(const TPointList2* list, int first, int last, uint32_t color) {
  if (!list || list->Count() == 0 || !ViewBox.Valid || !Canvas) return false;
  first = std::max(first, 0);
  last = std::min(last, list->Count() - 1);
  if (first > last) return true;
  ::Canvas& c = *Canvas;
  c.Pen.Color = color;
  c.Pen.Width = 2;
  const bool lines = !(ShowPoints && Options.TREDrawing == 1);
  const bool discs = ShowPoints && Options.TREDrawing > 0;
  const auto& items = list->Items();
  int px = PointToX(*items[first]), py = PointToY(*items[first]);
  for (int i = first + 1; i <= last; ++i) {
    const TPoint4D2& q = *items[i];
    const int qx = PointToX(q), qy = PointToY(q);
    // Points sharing a pixel with their predecessor add nothing, but the last line is drawn.
    if (lines && (qx != px || qy != py || i == last)) {
      c.MoveTo(px, py);
      c.LineTo(qx, qy);
    }
    if (discs) DrawPoint(items[i - 1].get(), color, 4);
    px = qx, py = qy;
  }
  if (discs) DrawPoint(items[last].get(), color, 4);
  if (Options.MarkStart) DrawPoint(items[first].get(), color, 3);
  return true;
}

void TGPXDraw::DrawPointList(const TPointList2* list, uint32_t color) {
  if (list) DrawPointListRange(list, 0, list->Count() - 1, color);
}

std::string TGPXDraw::CountsText() const {
  if (!GPX) return {};
  int64_t rtePoints = 0, segments = 0, trkPoints = 0;
  for (const auto& r : GPX->Routes.Items()) rtePoints += r->Count();
  for (const auto& t : GPX->Tracks.Items()) {
    segments += t->Count();
    for (const auto& s : t->Items()) trkPoints += s->Count();
  }
  return "[" + formatInt(GPX->Waypoints.Count()) + "], " + "[" + formatInt(GPX->Routes.Count()) + ", " +
         formatInt(rtePoints) + "]," + "[" + formatInt(GPX->Tracks.Count()) + ", " + formatInt(segments) +
         ", " + formatInt(trkPoints) + "]";
}

void TGPXDraw::Draw() {
  if (!Canvas || !GPX) return;
  ::Canvas& c = *Canvas;
  c.Brush.Color = Options.BackgroundColor;
  c.Brush.Style = TBrushStyle::Solid;
  c.FillRect(GetRect());
  const TGPXSelection& sel = GPX->Selection;
  auto lineColor = [this](const TGPX_StyleLine& style, uint32_t fallback) {
    return Options.GPXDrawLineStyle && !style.IsColorUnset() ? (style.Color & 0xFFFFFFu) : fallback;
  };
  for (const auto& r : GPX->Routes.Items())
    if (r->Visible && !sel.Contains(r.get())) DrawPointList(r.get(), lineColor(r->Style, Options.RouteColor));
  // A track's own visible flag is not consulted: its segments carry their own.
  for (const auto& t : GPX->Tracks.Items())
    for (const auto& s : t->Items())
      if (s->Visible && !sel.Contains(s.get())) DrawPointList(s.get(), lineColor(t->Style, Options.TrackColor));
  for (const auto& w : GPX->Waypoints.Items())
    if (w->Visible && !sel.Contains(w.get())) DrawPoint(w.get(), Options.WayPointColor, 0);
  // Selected items on top.
  for (const auto& r : GPX->Routes.Items())
    if (r->Visible && sel.Contains(r.get())) DrawPointList(r.get(), Options.SelectionColor);
  for (const auto& t : GPX->Tracks.Items())
    for (const auto& s : t->Items())
      if (s->Visible && sel.Contains(s.get())) DrawPointList(s.get(), Options.SelectionColor);
  for (const auto& w : GPX->Waypoints.Items())
    if (w->Visible && sel.Contains(w.get())) DrawPoint(w.get(), Options.SelectionColor, 0);
  if (Debug || Options.ShowGPXData) {
    c.Font.Name = "Arial";
    c.Font.Size = 8;
    c.Font.Color = 0x008000;
    c.Font.Orientation = 0;
    c.Brush.Style = TBrushStyle::Clear;
    c.TextOut(0, 0, CountsText());
    c.Brush.Style = TBrushStyle::Solid;
  }
  SaveSnapshot();
}

void TGPXDraw::DrawRubberBand(int x, int y, uint32_t color) {
  RestoreSnapshot();
  if (!Canvas) return;
  Canvas->Pen.Color = color;
  Canvas->Pen.Width = 1;
  const TPoint band[5] = {{AnchorX, AnchorY}, {AnchorX, y}, {x, y}, {x, AnchorY}, {AnchorX, AnchorY}};
  Canvas->Polyline(band, 5);
}
