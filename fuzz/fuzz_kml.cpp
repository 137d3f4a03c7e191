// KML import: the points kept are on the globe, the export reads back with the same items,
// and after one export and import the text is a fixed point.
#include "FuzzOracles.h"
#include "formats/KMLFile.h"
#include "formats/KMLWriter.h"

namespace {

std::string importAndExport(const std::string& text, TGPX& doc) {
  TKMLFile file;
  file.GPX = &doc;
  file.ImportString(text);
  return TKMLWriter().WriteDocument(doc);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TGPX first;
  const std::string exported = importAndExport(fuzzText(data, size), first);
  fuzzCheckPoints(first);
  TGPX second;
  const std::string again = importAndExport(exported, second);
  FUZZ_CHECK(fuzzCounts(second) == fuzzCounts(first));
  TGPX third;
  FUZZ_CHECK_SAME(again, importAndExport(again, third), "the export is a fixed point");
  fuzzCheckGPXRoundTrip(first);
  return 0;
}
