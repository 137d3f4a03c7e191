// Options to request settings.
#include "ui/ElevationRequests.h"

TElevationSettings ElevationSettings(const TGPXOptions& options) {
  TElevationSettings s;
  s.Proxy = ProxyFields{options.ProxyType, options.HttpIP, options.HttpPort, options.SocksIP, options.SocksPort};
  s.ElevationDatabase = options.ElevationDatabase;
  s.UserAgent = options.UserAgent;
  return s;
}

std::optional<double> QueryPointElevation(const TGPXOptions& options, double lat, double lon,
                                          int32_t& credit) {
  return queryPointElevation(ElevationSettings(options), lat, lon, credit);
}
