// Points, point lists and bounding boxes: the geometric ground floor of the document model.
#pragma once
#include <cstdint>
#include <string>

#include "model/OwnedList.h"

// The kinds of document items; className() gives the historical class-name text that the
// log lines show and that code compares.
enum class ItemKind : uint8_t {
  Point,      // TPoint4D2
  PointList,  // TPointList2
  Wpt,        // TGPXwpt
  WptList,    // TGPXwptList
  Rte,        // TGPXrte
  Trkseg,     // TGPXtrkseg
  Trk,        // TGPXtrk
  RteList,    // TGPXrteList
  TrkList,    // TGPXtrkList
  Metadata,   // TGPXmetadata
};

const char* itemClassName(ItemKind kind);

// Common base of everything the selection and the tree refer to.
class TItem {
public:
  virtual ~TItem() = default;
  ItemKind Kind() const { return kind_; }
  const char* className() const { return itemClassName(kind_); }
  bool Is(ItemKind k) const { return kind_ == k; }

protected:
  explicit TItem(ItemKind kind) : kind_(kind) {}
  TItem(const TItem&) = default;
  TItem& operator=(const TItem&) = default;

private:
  ItemKind kind_;
};

double Max(double a, double b);
double Min(double a, double b);

class TPoint4D2 : public TItem {
public:
  TPoint4D2() : TItem(ItemKind::Point) {}
  double Lat = 0;
  double Lon = 0;
  double Ele = 0;
  double Time = 0;  // days since 1899-12-30, UTC; 0 = none
  uint8_t Mark = 0;
  bool Visible = true;
  // The elevation was given, also when it is 0: a file's <ele>0</ele> (sea level) is data,
  // not "none". Only the writer asks; everywhere else 0 still means no elevation.
  bool ElePresent = false;

  // Every edit that puts an elevation on a point goes through here.
  void SetEle(double value) {
    Ele = value;
    ElePresent = true;
  }
  // Copies Lat, Lon, Ele (with ElePresent), Time; Mark and Visible keep their values.
  void Assign(const TPoint4D2& source);
  // Great-circle distance in metres on a sphere of radius 6378137.0 m.
  double DistanceTo(double lat, double lon, bool roundCos) const;
  double DistanceToPoint(const TPoint4D2& other, bool roundCos) const;
  // Strictly inside the rectangle; the order within each pair does not matter.
  bool IsInRect(double lon1, double lon2, double lat1, double lat2) const;

  std::string LatToStr() const;
  std::string LonToStr() const;
  std::string LatLonToStr() const;
  std::string LatToDegMinStr() const;
  std::string LonToDegMinStr() const;
  std::string EleToStr() const;
  std::string TimeToStr() const;

protected:
  explicit TPoint4D2(ItemKind kind) : TItem(kind) {}
};

class TBBox {
public:
  TBBox() { Clear(); }
  double MaxLat = 0, MinLat = 0, MaxLon = 0, MinLon = 0;
  double Scale = 0, ScaleX = 0, ScaleY = 0;
  bool Valid = false;

  // Limits, ScaleX and ScaleY to 0, Valid false; Scale keeps its value.
  void Clear();
  // Copies the limits and the three scales; Valid is not copied.
  void Assign(const TBBox& source);
  // Grows this box to cover another. A box whose limit is exactly 0.0 is valid data:
  // only the Valid flag tells an empty box.
  void Extend(const TBBox& other);
};

class TPointList2 : public TItem, public OwnedList<TPoint4D2> {
public:
  TPointList2() : TItem(ItemKind::PointList) {}
  ~TPointList2() override = default;
  TPointList2(const TPointList2&) = delete;
  TPointList2& operator=(const TPointList2&) = delete;

  bool Visible = false;
  TBBox BBox;
  bool Present = false;

  TPoint4D2* GetPoint(int index) const { return At(index); }
  void UpdateBBox(bool reset);
  void UpdateBBoxRange(int first, int last, bool reset);
  int FindNearestIndex(double lat, double lon) const;
  TPoint4D2* FindNearest(double lat, double lon) const;
  double GetSpeed(const TPoint4D2* point) const;
  void SetVisible(bool flag);
  void DeletePoint(int index) { Remove(index); }

protected:
  explicit TPointList2(ItemKind kind) : TItem(kind) {}
};
