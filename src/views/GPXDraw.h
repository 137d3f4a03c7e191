// A drawing view of a document: projection of latitude and longitude to pixels and back,
// fitting, zooming, panning, drawing, hit-testing and box edits. Never owns the document.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "model/GPX.h"
#include "views/Canvas.h"
#include "views/CutReport.h"
#include "views/DrawOptions.h"
#include "views/PixelTypes.h"

// Fixed aspect factor of the projection (no dependence on latitude).
constexpr long double kDrawK = 36.0L / 55.0L;
constexpr double kDrawShrink = 1.01;
constexpr double kDrawZoomStep = 0.15;

class TGPXDraw {
public:
  TGPXDraw();
  TGPXDraw(const TGPXDraw&) = delete;
  TGPXDraw& operator=(const TGPXDraw&) = delete;

  int Width = 0;
  int Height = 0;
  ::Canvas* Canvas = nullptr;  // the image's canvas, not owned
  ::Canvas SnapshotA;          // the last finished drawing
  ::Canvas SnapshotB;          // saved under the graph's cursor marker
  TGPX* GPX = nullptr;         // not owned
  TBBox ViewBox;
  int AnchorX = 0, AnchorY = 0;  // both 0: no anchor
  int MouseX = 0, MouseY = 0;
  uint8_t ToolMode = 1;
  std::vector<std::string> Messages;
  TGPXwptList* CurrentList = nullptr;  // route or segment chosen in the tree, not owned
  TPoint4D2* CurrentPoint = nullptr;   // found by the point tools, not owned
  TDrawOptions Options;
  uint8_t Debug = 0;
  uint8_t ShowPoints = 0;  // 1 in the edition previews

  void Reset();
  // Shows another document; references into the old one are dropped.
  void SetGPX(TGPX* gpx);

  int GetWidth() const { return Width; }
  int GetHeight() const { return Height; }
  void SetWidth(int value);
  void SetHeight(int value);
  void SetSize(int width, int height);
  void SetRect(const TRect& rect);
  TRect GetRect() const { return {0, 0, Width, Height}; }

  // Fits the view to the visible data, giving it at least about 100 m in each direction.
  // False, and the view untouched, on a view of zero size; false with an invalid box when
  // there is no visible data.
  bool FitAll(bool Center, bool Shrink);
  // False (nothing changed) without extent, without size, or when no usable scale results.
  bool ComputeScale(bool Shrink);

  int LonToX(double lon) const {
    return PixelOf((static_cast<long double>(lon) - ViewBox.MinLon) * ViewBox.Scale * kDrawK);
  }
  int LatToY(double lat) const {
    return Height - PixelOf((static_cast<long double>(lat) - ViewBox.MinLat) * ViewBox.Scale);
  }
  int PointToX(const TPoint4D2& p) const { return LonToX(p.Lon); }
  int PointToY(const TPoint4D2& p) const { return LatToY(p.Lat); }
  double XToLon(int x) const;
  double YToLat(int y) const;
  // The position under a pixel, as a point the nearest-item searches take.
  TPoint4D2 PointAtPixel(int x, int y) const {
    TPoint4D2 p;
    p.Lat = YToLat(y);
    p.Lon = XToLon(x);
    return p;
  }
  bool IsPointVisible(const TPoint4D2& p) const;

  // rect in pixels with y counted upward from the bottom edge.
  bool ZoomToRect(const TRect& rect);
  bool ZoomIn();
  bool ZoomOut();
  bool WheelZoomIn(const TPoint& mouse);
  bool WheelZoomOut(const TPoint& mouse);
  void PanTo(int x, int y);
  bool PanBy(int x0, int y0, int x1, int y1);
  bool ZoomToDragRect(int x, int y);
  bool ZoomToPointList(TPointList2* list);
  bool ZoomToPointRange(TPointList2* list, int first, int last);

  void SaveSnapshot();
  void RestoreSnapshot();
  void SaveSnapshotB();
  void RestoreSnapshotB();

  // Drawing the document.
  bool DrawPoint(const TPoint4D2* point, uint32_t color, int symbol);
  bool DrawPointListRange(const TPointList2* list, int first, int last, uint32_t color);
  void DrawPointList(const TPointList2* list, uint32_t color);
  void Draw();
  void DrawRubberBand(int x, int y, uint32_t color);
  // The counts line: "[3], [1, 20],[2, 3, 410]".
  std::string CountsText() const;

  // Hit-testing; `point` carries the searched position in Lat and Lon.
  void SelectNearestObject(const TPoint4D2& point, bool Additive);
  void SelectNearestWayPoint(const TPoint4D2& point, bool Additive);
  void SelectNearestRoute(const TPoint4D2& point, bool Additive);
  void SelectNearestTrackSeg(const TPoint4D2& point, bool Additive);
  void SelectNearestPoint(const TPoint4D2& point);
  void PickPointInSelection(const TPoint4D2& point);
  void SelectSecondOfKind(const TPoint4D2& point);

  // Box edits: delete the points inside (KeepInside false) or outside the box, and the
  // routes, segments and tracks left empty. The removed objects come back in the report;
  // the view has already dropped its own references to them and taken them out of the
  // document's selection.
  TCutReport CutPointsInRect(const TRect& rect, bool OnlySelected, bool KeepInside);
  TCutReport CutPointsInDragRect(int x, int y, bool OnlySelected, bool KeepInside);

private:
  void CenterBox();
  bool HasSize() const { return Width > 0 && Height > 0; }
  void CopyCanvas(::Canvas& to, const ::Canvas& from);
  // The rectangle dragged from the anchor to (x, y), in ZoomToRect's form.
  TRect DragRect(int x, int y) const;
  // The latitude and longitude limits of a rectangle in ZoomToRect's form.
  TBBox RectLimits(const TRect& rect) const;
  void SelectNearest(const TPoint4D2& point, bool Additive, bool wpts, bool rtes, bool segs);
};
