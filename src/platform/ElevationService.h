// The elevation web service: the request addresses for one point and for a batch, the
// answer's normalisation and reading, the data-set choice with its fallback, and the
// credit each request costs.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ProxyStore.h"

// The service's base address, an http address whose path is the root, ending in "/".
// Built in (CORVANTEL_ELEVATION_SERVICE at configure time), overridden by the environment
// variable of the same name, and by tests.
std::string elevationServiceAddress();
void setElevationServiceAddress(const std::string& address);

// What a request needs of the general options.
struct TElevationSettings {
  ProxyFields Proxy;
  uint8_t ElevationDatabase = 2;  // 0 gtopo30, 1 srtm3, 2 srtm3 then gtopo30
  std::string UserAgent;
};

// The answer that means "no value at this point".
constexpr double kElevationNoData = -32768;
// What the Earth holds, in metres: a value outside is no value either.
constexpr double kLowestElevation = -12000, kHighestElevation = 12000;
// An answer longer than this fails the request.
constexpr size_t kElevationAnswerMaxBytes = 1024 * 1024;
// Every point asked of srtm3 costs 2, of gtopo30 1.
int32_t elevationCharge(std::string_view dataSet);
// The credit lowered by `amount`, stopping at the smallest 32-bit value instead of wrapping.
int32_t lowerCredit(int32_t credit, int64_t amount);

// A coordinate in a request: shortest general text, '.' separator, plain down to 0.00001
// (0.00005, 1E-6, 6.25, -45).
std::string coordinateText(double value);
std::string pointQueryAddress(const std::string& base, std::string_view dataSet, double lat, double lon);
// `lats` and `lons`: the coordinate texts joined by commas, in point order.
std::string batchQueryAddress(const std::string& base, const std::string& lats, const std::string& lons);

// The body as lines (CR, LF or CR LF), joined by CR LF and trimmed at both ends.
std::string normalizeElevationAnswer(std::string_view body);
// One answer line: its number, or none when it is not a number, is the no-data value or lies
// outside what the Earth holds.
std::optional<double> elevationValue(std::string_view line);
// A batch answer read for `count` points in order: lines separated by CR LF; a point whose
// line is missing, not a number, no-data or out of range gets none.
std::vector<std::optional<double>> parseBatchAnswer(std::string_view answer, size_t count);

// One GET of `address` with the settings' proxy and user agent; the normalised answer.
// Throws THttpError, also for an answer longer than kElevationAnswerMaxBytes.
std::string queryElevationText(const TElevationSettings& settings, const std::string& address);

// One point, data set by the settings; srtm3 answering no-data is asked again of gtopo30
// when the settings say so. Each completed request lowers `credit`; a failed one throws
// (THttpError) and costs nothing. None when the service has no value for the point.
std::optional<double> queryPointElevation(const TElevationSettings& settings, double lat, double lon,
                                          int32_t& credit);
// One batch of srtm3 values: the normalised answer. The caller charges the credit.
std::string queryBatchElevations(const TElevationSettings& settings, const std::string& lats,
                                 const std::string& lons);
