// NGT import: the points kept are on the globe and save as GPX that reads back the same.
#include "FuzzOracles.h"
#include "formats/NGTFile.h"
#include "formats/TextLines.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TGPX doc;
  TNGTFile file;
  file.GPX = &doc;
  file.ImportLines(splitTextLines(fuzzText(data, size)));
  fuzzCheckGPXRoundTrip(doc);
  return 0;
}
