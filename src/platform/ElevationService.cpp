// Elevation requests and answers.
#include "platform/ElevationService.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "base/NumberText.h"
#include "base/Translate.h"
#include "platform/HttpClient.h"

#ifndef CORVANTEL_ELEVATION_SERVICE
#define CORVANTEL_ELEVATION_SERVICE "http://api.geonames.org/"
#endif

namespace {

std::string& configuredAddress() {
  static std::string address = [] {
    const char* env = std::getenv("CORVANTEL_ELEVATION_SERVICE");
    return std::string(env && *env ? env : CORVANTEL_ELEVATION_SERVICE);
  }();
  return address;
}

// The first data set of a one-point request and whether gtopo30 follows a no-data srtm3.
struct DataSetChoice {
  const char* First;
  bool FallBack;
};

DataSetChoice chooseDataSet(uint8_t database) {
  switch (database) {
    case 1:
      return {"srtm3", false};
    case 2:
      return {"srtm3", true};
    default:
      return {"gtopo30", false};
  }
}

}  // namespace

std::string elevationServiceAddress() { return configuredAddress(); }

void setElevationServiceAddress(const std::string& address) { configuredAddress() = address; }

int32_t elevationCharge(std::string_view dataSet) { return dataSet == "gtopo30" ? 1 : 2; }

int32_t lowerCredit(int32_t credit, int64_t amount) {
  const int64_t lowest = std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(std::max(int64_t{credit} - amount, lowest));
}

std::string coordinateText(double value) { return formatGeneralPlainTo1E5(value); }

std::string pointQueryAddress(const std::string& base, std::string_view dataSet, double lat, double lon) {
  return base + std::string(dataSet) + "?lat=" + coordinateText(lat) + "&lng=" + coordinateText(lon);
}

std::string batchQueryAddress(const std::string& base, const std::string& lats, const std::string& lons) {
  return base + "srtm3?lats=" + lats + "&lngs=" + lons;
}

std::string normalizeElevationAnswer(std::string_view body) {
  std::string joined;
  joined.reserve(body.size() + 2);
  size_t i = 0;
  while (i < body.size()) {
    const size_t end = std::min(body.find_first_of("\r\n", i), body.size());
    if (i > 0) joined += "\r\n";
    joined.append(body.substr(i, end - i));
    if (end == body.size()) break;
    // CR LF, a lone CR and a lone LF each end one line.
    i = end + (body[end] == '\r' && end + 1 < body.size() && body[end + 1] == '\n' ? 2 : 1);
  }
  return trim(joined);
}

std::optional<double> elevationValue(std::string_view line) {
  double value = 0;
  if (!parseFloatStrict(line, value) || value == kElevationNoData) return std::nullopt;
  if (value < kLowestElevation || value > kHighestElevation) return std::nullopt;
  return value;
}

std::vector<std::optional<double>> parseBatchAnswer(std::string_view answer, size_t count) {
  std::vector<std::optional<double>> values(count);
  for (size_t k = 0; k < count && !answer.empty(); ++k) {
    const size_t end = answer.find("\r\n");
    values[k] = elevationValue(answer.substr(0, end));
    answer = end == std::string_view::npos ? std::string_view() : answer.substr(end + 2);
  }
  return values;
}

std::string queryElevationText(const TElevationSettings& settings, const std::string& address) {
  THttpRequest request;
  request.Url = address;
  request.Accept = "text/xml";
  request.UserAgent = settings.UserAgent;
  request.Proxy = settings.Proxy;
  request.MaxBodyBytes = kElevationAnswerMaxBytes;
  try {
    return normalizeElevationAnswer(httpGet(request));
  } catch (const THttpBodyTooLong&) {
    throw THttpError(_("The elevation service's answer is longer than 1 MiB"));
  }
}

std::optional<double> queryPointElevation(const TElevationSettings& settings, double lat, double lon,
                                          int32_t& credit) {
  const DataSetChoice choice = chooseDataSet(settings.ElevationDatabase);
  const std::string base = elevationServiceAddress();
  std::string answer = queryElevationText(settings, pointQueryAddress(base, choice.First, lat, lon));
  credit = lowerCredit(credit, elevationCharge(choice.First));
  // Only the service's own no-data text asks gtopo30, not a value out of range.
  if (choice.FallBack && answer == "-32768") {
    answer = queryElevationText(settings, pointQueryAddress(base, "gtopo30", lat, lon));
    credit = lowerCredit(credit, elevationCharge("gtopo30"));
  }
  return elevationValue(answer);
}

std::string queryBatchElevations(const TElevationSettings& settings, const std::string& lats,
                                 const std::string& lons) {
  return queryElevationText(settings, batchQueryAddress(elevationServiceAddress(), lats, lons));
}
