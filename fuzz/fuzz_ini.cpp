// The INI reader and writer: the text of any parse is a fixed point of parse and write.
#include "FuzzOracles.h"
#include "platform/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  IniFile ini;
  ini.parse(fuzzText(data, size));
  const std::string first = ini.text();
  IniFile again;
  again.parse(first);
  FUZZ_CHECK_SAME(first, again.text(), "parse and write is a fixed point");
  return 0;
}
