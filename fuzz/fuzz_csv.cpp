// The semicolon text of whatever GPX loads: one line per point, each of 21 columns, so
// that no text of a point can split a line or add a column.
#include <algorithm>

#include "FuzzOracles.h"
#include "formats/GPXCSV.h"

namespace {

// Checks every line of a block and gives the number of point lines.
int64_t pointLines(const std::string& text) {
  int64_t points = 0;
  size_t from = 0;
  while (from < text.size()) {
    const size_t end = text.find("\r\n", from);
    FUZZ_CHECK(end != std::string::npos);  // every line ends with CR LF
    const std::string_view line(text.data() + from, end - from);
    FUZZ_CHECK(line.find_first_of("\r\n") == std::string_view::npos);
    if (!line.empty()) {
      FUZZ_CHECK(std::count(line.begin(), line.end(), ';') == 20);
      if (line != kCSVHeader) ++points;
    }
    from = end + 2;
  }
  return points;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TGPX doc;
  if (!fuzzLoadGPX(fuzzText(data, size), doc)) return 0;
  const FuzzCounts c = fuzzCounts(doc);
  FUZZ_CHECK(pointLines(ExportCSVWPTList(&doc.Waypoints, true)) == c.wpt);
  FUZZ_CHECK(pointLines(ExportCSVRTEList(doc.Routes)) == c.rtept);
  FUZZ_CHECK(pointLines(ExportCSVTRKList(doc.Tracks)) == c.trkpt);
  return 0;
}
