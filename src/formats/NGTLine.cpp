// NGT line splitting and point-line reading.
#include "formats/NGTLine.h"

#include "base/DateTime.h"
#include "base/NumberText.h"
#include "formats/ReadIssues.h"
#include "model/GPX.h"

namespace {

// Day number of 26 September 2000, where the file's times start.
constexpr double kNGTBaseDate = 36795;

}  // namespace

std::vector<std::string> splitNGTFields(std::string_view line) {
  std::vector<std::string> fields;
  size_t p = 0;
  const size_t n = line.size();
  while (p < n && isBlankByte(line[p])) ++p;
  while (p < n) {
    std::string field;
    if (line[p] == '"') {
      ++p;
      while (p < n) {
        if (line[p] == '"') {
          if (p + 1 < n && line[p + 1] == '"') {
            field.push_back('"');
            p += 2;
            continue;
          }
          ++p;
          break;
        }
        field.push_back(line[p++]);
      }
    } else {
      while (p < n && line[p] != '|' && !isBlankByte(line[p])) field.push_back(line[p++]);
    }
    fields.push_back(std::move(field));
    while (p < n && isBlankByte(line[p])) ++p;
    if (p < n && line[p] == '|') {
      if (p + 1 == n) fields.emplace_back();
      ++p;
      while (p < n && isBlankByte(line[p])) ++p;
    }
  }
  return fields;
}

NGTLineKind parseNGTLine(std::string_view line, TGPXwpt& point, bool* placed, TReadIssues* issues) {
  const std::vector<std::string> f = splitNGTFields(line);
  if (f.size() != 15 || f[0] != "GPSMap" || f[1] != "Trace" || f[2] != "Trc5")
    return NGTLineKind::Other;
  double lon = 0, lat = 0;
  const bool readable = parseFloatStrict(f[3], lon) && parseFloatStrict(f[4], lat);
  // Units of 180 degrees: a huge value overflows to infinity, which the check refuses.
  point.Lon = lon * 180;
  point.Lat = lat * 180;
  point.Ele = parseFloatOr(f[6], 0);
  const double days = parseFloatOr(f[12], 0);
  point.Time = days != 0 ? dayCountToDateTime(days + kNGTBaseDate) : 0;
  TReadIssues ignored;
  TReadIssues& tally = issues ? *issues : ignored;
  const bool ok = tally.acceptCoordinates(readable, point.Lat, point.Lon);
  if (placed) *placed = ok;
  if (ok) tally.checkTimeAndElevation(point);
  return parseIntOr(f[10], 0) == 2 ? NGTLineKind::SegmentStart : NGTLineKind::Point;
}
