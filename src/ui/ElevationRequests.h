// The elevation web service as the dialogs use it: settings taken from the general options
// at the time of each request.
#pragma once
#include <cstdint>
#include <optional>

#include "model/GPX.h"
#include "platform/ElevationService.h"

TElevationSettings ElevationSettings(const TGPXOptions& options);

// The ground altitude of one point, with the data set (and fallback) the options choose;
// `credit` is lowered by each completed request (1 for gtopo30, 2 for srtm3). None when the
// service has no value there (not a number, or its no-data value): leave the altitude as it
// is. Throws THttpError on a failed request, which costs nothing.
std::optional<double> QueryPointElevation(const TGPXOptions& options, double lat, double lon,
                                          int32_t& credit);
