// GPX reader: whatever loads saves into a file that loads again with the same items, and
// from the second save on the text stays the same; odd sizes are saved compressed, so that
// both layouts are checked.
#include "FuzzOracles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TGPX doc;
  if (fuzzLoadGPX(fuzzText(data, size), doc)) fuzzCheckGPXRoundTrip(doc, size % 2 == 1);
  return 0;
}
