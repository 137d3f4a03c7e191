// Picture file stamps and the calibration texts of map snapshots.
#include "views/PictureFiles.h"

#include <cmath>
#include <initializer_list>

#include "base/DateTime.h"
#include "base/NumberText.h"

namespace {

std::string joinLines(std::initializer_list<std::string> lines) {
  std::string out;
  for (const std::string& line : lines) {
    if (!out.empty()) out += "\r\n";
    out += line;
  }
  return out;
}

std::string degMinLat(double lat) {
  TPoint4D2 p;
  p.Lat = lat;
  return p.LatToDegMinStr();
}

std::string degMinLon(double lon) {
  TPoint4D2 p;
  p.Lon = lon;
  return p.LonToDegMinStr();
}

}  // namespace

std::string DateTimeToFileStamp(double t) {
  const DateTimeFields f = decodeDateTime(t);
  return formatIntPadded(f.year, 4) + formatIntPadded(f.month, 2) + formatIntPadded(f.day, 2) + "_" +
         formatIntPadded(f.hour, 2) + formatIntPadded(f.minute, 2) + formatIntPadded(f.second, 2);
}

std::string SatFileText(const TBBox& box, int W, int H) {
  return joinLines({"-", formatGeneral(box.MinLon), formatGeneral(box.MaxLat), formatGeneral(box.MaxLon),
                    formatGeneral(box.MinLat), "5", "100", formatInt(W), formatInt(H)});
}

std::string MapFileText(const std::string& name, const TBBox& box, int W, int H) {
  const std::string north = degMinLat(box.MaxLat), south = degMinLat(box.MinLat);
  const std::string west = degMinLon(box.MinLon), east = degMinLon(box.MaxLon);
  const std::string right = formatInt(W - 1), bottom = formatInt(H - 1);
  auto point = [](const char* n, const std::string& xy, const std::string& lat, const std::string& lon) {
    return std::string("Point0") + n + ",xy," + xy + ",in, deg," + lat + "," + lon + ", grid,,,,N";
  };
  auto f6 = [](double v) { return formatFixed(v, 6); };
  TPoint4D2 northWest;
  northWest.Lat = box.MaxLat;
  northWest.Lon = box.MinLon;
  const double diagonal = northWest.DistanceTo(box.MinLat, box.MaxLon, false);
  const double metresPerPixel = diagonal / std::sqrt(static_cast<double>(W) * W + static_cast<double>(H) * H);
  return joinLines({"OziExplorer Map Data File Version 2.2",
                    name,
                    name + ".jpg",
                    "1 ,Map Code,",
                    "WGS 84,,   0.0000,   0.0000,WGS 84",
                    "Reserved 1",
                    "Reserved 2",
                    "Magnetic Variation,,,E",
                    "Map Projection,Mercator,PolyCal,No,AutoCalOnly,No,BSBUseWPX,No",
                    point("1", "0,0", north, west),
                    point("2", right + ",0", north, east),
                    point("3", right + "," + bottom, south, east),
                    point("4", "0," + bottom, south, west),
                    "Projection Setup,,,,,,,,,,",
                    "Map Feature = MF ; Map Comment = MC     These follow if they exist",
                    "Track File = TF      These follow if they exist",
                    "Moving Map Parameters = MM?    These follow if they exist",
                    "MM0,No",
                    "MMPNUM,4",
                    "MMPXY,1,0,0",
                    "MMPXY,2," + right + ",0",
                    "MMPXY,3," + right + "," + bottom,
                    "MMPXY,4,0," + bottom,
                    "MMPLL,1," + f6(box.MinLon) + "," + f6(box.MaxLat),
                    "MMPLL,2," + f6(box.MaxLon) + "," + f6(box.MaxLat),
                    "MMPLL,3," + f6(box.MaxLon) + "," + f6(box.MinLat),
                    "MMPLL,4," + f6(box.MinLon) + "," + f6(box.MinLat),
                    "MOP,Map Open Position,0,0",
                    "IWH,Map Image Width/Height," + formatInt(W) + "," + formatInt(H),
                    "MM1B," + formatFixed(metresPerPixel, 4)});
}
