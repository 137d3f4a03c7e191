// The statistics text that the track dialog's Telemetry button adds to a track's comment:
// length, duration and speed, ascent and descent, lowest and highest altitude, segment by
// segment and, for several segments, for the whole track.
#pragma once
#include <string>

#include "model/GPX.h"

// The statistics of the track's segments as lines joined by CR LF, trimmed at both ends;
// empty for a track without segments.
std::string TrackTelemetryText(const TGPXtrk& track);

// The comment with the statistics text appended on a line of its own, trimmed at both ends.
std::string AppendTrackTelemetry(const std::string& comment, const TGPXtrk& track);
