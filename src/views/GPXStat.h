// The statistics graph: one value of a route or track segment (altitude, speed, angle,
// distance, satellites, HDOP) against time or point index, with the plotted points kept so
// that the window can find the point under the mouse, draw hairlines and a selected range.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "model/GPX.h"
#include "views/Canvas.h"
#include "views/StatOptions.h"

// One plotted point: its pixel, its value and the document point it came from (not owned).
struct TStatPoint {
  int X = 0;
  int Y = 0;
  TGPXwpt* Source = nullptr;
  double Value = 0;
  double PixelDistance(int x, int y) const;
};

// The plotted points, in the order of their source points. Held by value: a million-point
// track is plotted on every frame, and nothing keeps a plotted point across a rebuild.
class TStatPointList {
public:
  TGPXwptList* SourceList = nullptr;  // the list last plotted, not owned

  int Count() const { return static_cast<int>(items_.size()); }
  // Outside 0..Count-1 raises the list's index error.
  TStatPoint* GetItem(int index);
  const TStatPoint* GetItem(int index) const;
  void Add(const TStatPoint& point) {
    items_.push_back(point);
    sortedX_ = false;
  }
  void Delete(int index);
  void Clear() {
    items_.clear();
    sortedX_ = false;
  }
  void Reserve(int n) { items_.reserve(static_cast<size_t>(n)); }
  // The position of the nearest point; the first of equal distances wins; -1 when empty.
  int NearestX(int x) const;
  int NearestXY(int x, int y) const;
  std::vector<TStatPoint>& Items() { return items_; }
  // Called once the positions are set: lets NearestX search by halves when the x positions
  // never fall, as they do on every graph but a timed one with times out of order.
  void PositionsSet();

private:
  template <class Distance>
  int nearest(Distance distance) const;
  std::vector<TStatPoint> items_;
  bool sortedX_ = false;
};

// Graph modes: 0 none; 1, 3, 4, 6, 8, 10 against time, the others against the point index.
enum TStatMode : uint8_t {
  smNone = 0,
  smAltitudeTime = 1, smAltitudeIndex = 2, smSpeedTime = 3, smAngleTime = 4, smAngleIndex = 5,
  smDistanceTime = 6, smDistanceIndex = 7, smSatTime = 8, smSatIndex = 9, smHDOPTime = 10,
  smHDOPIndex = 11
};
bool StatModeByTime(uint8_t mode);

class TGPXStat {
public:
  TGPXStat();
  TGPXStat(const TGPXStat&) = delete;
  TGPXStat& operator=(const TGPXStat&) = delete;

  int Width = 0;
  int Height = 0;
  ::Canvas* Canvas = nullptr;  // the image's canvas, not owned
  ::Canvas Snapshot;           // the last finished drawing
  const TGPX* GPX = nullptr;   // only tested for presence
  double XScale = 0, YScale = 0;
  int LeftMargin = 0, BottomMargin = 0;
  int FirstIndex = 0, LastIndex = 0;  // both 0: the whole list
  int SelStart = -1, SelEnd = -1;
  uint8_t SelActive = 0;
  int MouseX = 0, MouseY = 0;
  uint8_t Mode = smNone;
  TStatOptions Options;
  TStatPointList Points;

  int GetWidth() const { return Width; }
  int GetHeight() const { return Height; }
  void SetWidth(int value);
  void SetHeight(int value);
  void SetSize(int width, int height);
  void SetRect(const TRect& rect);
  TRect GetRect() const { return {0, 0, Width, Height}; }
  void SaveSnapshot();
  void RestoreSnapshot();

  void Clear();
  void Redraw();
  bool DrawGraph(TGPXwptList* list, uint8_t mode, int first, int last);
  bool DrawAltitude(TGPXwptList* list, bool byTime);
  bool DrawSpeed(TGPXwptList* list);
  bool DrawAngle(TGPXwptList* list, bool byTime);
  bool DrawDistance(TGPXwptList* list, bool byTime);
  bool DrawSatellites(TGPXwptList* list, bool byTime);
  bool DrawHDOP(TGPXwptList* list, bool byTime);
  void ZoomIn(int x);
  void ZoomOut(int x);
  void DrawVerticalCaption(const std::string& caption, int left, int top, int right, int bottom);

  // The bottom of the plot area, where the x axis runs.
  int PlotBottom() const { return Height - BottomMargin; }
  // Over the snapshot: the vertical hairline at plotted point k and, by the options, the
  // horizontal one. The curve is not redrawn.
  void DrawHairlines(int k);
  // Tints the columns between two x positions with the range colour over the snapshot.
  void TintRange(int xa, int xb);
  // A vertical line from the top to the x axis in the range colour, "not xor".
  void DrawRangeMarker(int x);
  // The graph's caption and the text after its y labels, for a mode.
  static std::string Caption(uint8_t mode);
  static std::string Unit(uint8_t mode);

private:
  // The checks shared by the six entry points, then the graph over the stored range.
  bool DrawChecked(TGPXwptList* list, uint8_t mode);
  // Fills Points with the mode's values; min and max of the counted ones.
  void BuildValues(const TGPXwptList& list, uint8_t mode, int first, int last, double& min, double& max);
  void SetLabelFont();
  void Zoom(int x, bool in);
};
