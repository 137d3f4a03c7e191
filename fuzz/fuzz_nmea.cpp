// NMEA import, with the clock fixed: the points kept are on the globe and save as GPX that
// reads back the same.
#include "FuzzOracles.h"
#include "formats/NMEAFile.h"
#include "formats/TextLines.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TGPX doc;
  TNMEAFile file;
  file.GPX = &doc;
  file.Clock = [] { return encodeDateTime(2024, 6, 1, 12); };
  file.ImportLines(splitTextLines(fuzzText(data, size)));
  fuzzCheckGPXRoundTrip(doc);
  return 0;
}
