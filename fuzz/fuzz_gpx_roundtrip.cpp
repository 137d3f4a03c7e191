// GPX reader: whatever loads saves into a file that loads again, and saves the same.
#include "FuzzOracles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TGPX doc;
  if (fuzzLoadGPX(fuzzText(data, size), doc)) fuzzCheckGPXRoundTrip(doc);
  return 0;
}
