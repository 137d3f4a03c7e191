// The elevation service's answers: normalised into CR LF lines once and for all, and read
// into heights the Earth holds or none, one per asked point, whatever the service sends.
#include "FuzzOracles.h"
#include "platform/ElevationService.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The first byte is the number of points asked; the rest is the answer.
  const size_t count = size ? data[0] % 41 : 0;
  const std::string body = size ? fuzzText(data + 1, size - 1) : std::string();

  const std::string answer = normalizeElevationAnswer(body);
  FUZZ_CHECK_SAME(normalizeElevationAnswer(answer), answer, "the normalised answer is a fixed point");
  for (size_t i = 0; i < answer.size(); ++i) {
    if (answer[i] == '\r') FUZZ_CHECK(i + 1 < answer.size() && answer[i + 1] == '\n');
    if (answer[i] == '\n') FUZZ_CHECK(i > 0 && answer[i - 1] == '\r');
  }

  const auto height = [](double v) {
    return v >= kLowestElevation && v <= kHighestElevation && v != kElevationNoData;
  };
  const auto values = parseBatchAnswer(answer, count);
  FUZZ_CHECK(values.size() == count);
  for (const auto& v : values)
    if (v) FUZZ_CHECK(height(*v));
  if (const auto one = elevationValue(answer)) FUZZ_CHECK(height(*one));
  return 0;
}
