// The point grid's columns: header texts, cell texts and the scan of a list for the
// columns it fills.
#include "ui/PointGridColumns.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "base/DateTime.h"
#include "base/NumberText.h"
#include "base/Translate.h"

namespace {

enum Column {
  Index, Lat, Lon, Ele, Time, Magvar, Geoid, Name, Cmt, Desc, Src, Link, Sym, Type, Fix,
  Sat, Hdop, Vdop, Pdop, Age, Dgps, Ext
};

bool isTextColumn(int c) { return (c >= Name && c <= Fix) || c == Ext; }

const std::string& textOf(const TGPXwptData& d, int c) {
  switch (c) {
    case Name: return d.name;
    case Cmt: return d.cmt;
    case Desc: return d.desc;
    case Src: return d.src;
    case Link: return d.link.href;
    case Sym: return d.sym;
    case Type: return d.type;
    case Fix: return d.fix;
    default: return d.extensions;
  }
}

// The value of a number column; false when the point lacks it (the model's sentinels).
bool numberOf(const TGPXwpt& p, int c, double& v) {
  switch (c) {
    case Lat: v = p.Lat; return true;
    case Lon: v = p.Lon; return true;
    case Ele: v = p.Ele; return v != 0;
    case Time: v = dateTimeToDayCount(p.Time); return p.Time != 0;  // earliest and latest
    default: break;
  }
  const TGPXwptData& d = p.data();
  switch (c) {
    case Magvar: v = d.magvar; return v != 0;
    case Geoid: v = d.geoidheight; return v != 0;
    case Sat: v = d.sat; return d.sat < 255;
    case Hdop: v = d.hdop; return v != -1.0;
    case Vdop: v = d.vdop; return v != -1.0;
    case Pdop: v = d.pdop; return v != -1.0;
    case Age: v = d.ageofdgpsdata; return v != -1.0;
    case Dgps: v = d.dgpsid; return d.dgpsid != -1;
    default: return false;
  }
}

struct Extremes {
  double Min = 0, Max = 0;
  int MinRow = -1, MaxRow = -1;
  void Add(double v, int row) {
    if (MinRow < 0 || v < Min) Min = v, MinRow = row;
    if (MaxRow < 0 || v > Max) Max = v, MaxRow = row;
  }
};

// The rows of the longest texts of a column, at most kKeep of them.
class Longest {
public:
  static constexpr size_t kKeep = 32;
  void Add(size_t length, int row) {
    rows_.emplace_back(length, row);
    if (rows_.size() >= 4 * kKeep) Cut();
  }
  bool Empty() const { return rows_.empty(); }
  std::vector<int> Rows() {
    Cut();
    std::vector<int> out;
    for (const auto& r : rows_) out.push_back(r.second);
    return out;
  }

private:
  void Cut() {
    if (rows_.size() <= kKeep) return;
    std::nth_element(rows_.begin(), rows_.begin() + kKeep, rows_.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    rows_.resize(kKeep);
  }
  std::vector<std::pair<size_t, int>> rows_;
};

}  // namespace

std::string pointGridHeader(int column) {
  switch (column) {
    case Index: return _("#");
    case Lat: return _("Latitude");
    case Lon: return _("Longitude");
    case Ele: return _("Altitude");
    case Time: return _("Time");
    case Magvar: return _("magvar");
    case Geoid: return _("geoidheight");
    case Name: return _("name");
    case Cmt: return _("cmt");
    case Desc: return _("desc");
    case Src: return _("src");
    case Link: return _("link");
    case Sym: return _("sym");
    case Type: return _("wtype");
    case Fix: return _("fix");
    case Sat: return _("sat");
    case Hdop: return _("hdop");
    case Vdop: return _("vdop");
    case Pdop: return _("pdop");
    case Age: return _("ageofdgpsdata");
    case Dgps: return _("dgpsid");
    case Ext: return _("extensions");
    default: return {};
  }
}

std::string pointGridCell(const TGPXwpt& point, int column, int index) {
  switch (column) {
    case Index: return formatInt(int64_t(index) + 1);
    case Lat: return point.LatToStr();
    case Lon: return point.LonToStr();
    case Ele: return point.Ele != 0 ? point.EleToStr() : std::string();
    case Time: return point.Time != 0 ? point.TimeToStr() : std::string();
    default: break;
  }
  if (isTextColumn(column)) return textOf(point.data(), column);
  double v = 0;
  if (!numberOf(point, column, v)) return {};
  return column == Sat || column == Dgps ? formatInt(static_cast<int64_t>(v)) : formatFixed(v, 1);
}

TPointGridScan scanPointGrid(const TGPXwptList& list) {
  TPointGridScan scan;
  std::array<Extremes, kPointGridColumns> extremes;
  std::array<Longest, kPointGridColumns> longest;
  int timeOfDay = -1;  // a time with a time of day is written longer than a bare date
  const int n = list.Count();
  for (int i = 0; i < n; ++i) {
    const TGPXwpt& p = *list.GetPoint(i);
    double v = 0;
    for (int c = Lat; c <= Time; ++c)
      if (numberOf(p, c, v)) extremes[c].Add(v, i);
    if (timeOfDay < 0 && p.Time != 0 && p.Time != std::trunc(p.Time)) timeOfDay = i;
    if (!p.HasData()) continue;  // most track points: nothing more to look at
    for (int c = Magvar; c < kPointGridColumns; ++c) {
      if (isTextColumn(c)) {
        if (const size_t length = textOf(p.data(), c).size()) longest[c].Add(length, i);
      } else if (numberOf(p, c, v)) {
        extremes[c].Add(v, i);
      }
    }
  }
  scan.Filled[Index] = true;
  if (n > 0) scan.Candidates[Index] = {n - 1};
  for (int c = Lat; c < kPointGridColumns; ++c) {
    std::vector<int>& rows = scan.Candidates[c];
    if (isTextColumn(c)) {
      rows = longest[c].Rows();
    } else if (extremes[c].MinRow >= 0) {
      rows = {extremes[c].MinRow, extremes[c].MaxRow};
    }
    if (c == Time && timeOfDay >= 0) rows.push_back(timeOfDay);
    scan.Filled[c] = !rows.empty();
  }
  return scan;
}
