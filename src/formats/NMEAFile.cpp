// NMEA 0183 log import.
#include "formats/NMEAFile.h"

#include <cmath>
#include <cstdint>

#include "base/DateTime.h"
#include "base/NumberText.h"
#include "base/Translate.h"
#include "formats/NMEASentence.h"
#include "formats/ReadIssues.h"
#include "formats/TextLines.h"

namespace {

std::unique_ptr<TGPXwpt> newUnfilledPoint() {
  auto p = std::make_unique<TGPXwpt>();
  p->edit().sat = kNMEAUnfilled;
  return p;
}

constexpr int64_t kMsPerDay = 86400000;
// A receiver's clock may step back a little (a second sent twice, a resynchronisation). A fix
// at most this much before the last dated moment is such a step, not a pause of nearly a day.
constexpr int64_t kClockStepBackMs = 15 * 60 * 1000;

// Day counts are compared in whole milliseconds, as a file keeps them: as fractions of a day,
// a step back of exactly 15 minutes comes out a hair longer at some instants.
int64_t wholeMs(double dayCount) { return std::llround(dayCount * static_cast<double>(kMsPerDay)); }
int64_t floorDays(int64_t ms) { return ms / kMsPerDay - (ms % kMsPerDay < 0 ? 1 : 0); }
int64_t msOfDay(double dateTime) {
  const int64_t ms = wholeMs(dateTimeToDayCount(dateTime));
  return ms - floorDays(ms) * kMsPerDay;
}

// The time of day on the first day, from the last dated moment's (the last RMC, or a fix taken
// after it) on, where it is not earlier than that moment: each midnight and any pause under a
// day run forward, in either sentence order. A small step back of the clock lands just before
// that moment instead, across midnight too. Moved off the zero instant, which reads as no time.
double datedForward(double timeOfDay, double lastDate, double lastMoment) {
  if (lastDate == 0) return timeOfDay;
  const int64_t last = wholeMs(dateTimeToDayCount(lastMoment)), tod = wholeMs(timeOfDay);
  int64_t day = floorDays(last);
  if (day * kMsPerDay + tod < last) ++day;
  if (last - ((day - 1) * kMsPerDay + tod) <= kClockStepBackMs) --day;
  return movedDayCountToDateTime(static_cast<double>(day) + timeOfDay);
}

// The next line from `from` on that the import uses: a GGA or RMC sentence with a right checksum.
size_t nextUsedLine(const std::vector<std::string>& lines, size_t from) {
  for (; from < lines.size(); ++from) {
    const std::string& line = lines[from];
    if (nmeaCheckSum(line) && (nmeaHasSentence(line, "GGA") || nmeaHasSentence(line, "RMC"))) break;
  }
  return from;
}

}  // namespace

TNMEAFile::TNMEAFile() : Clock(nowLocal) {}

bool TNMEAFile::CheckSum(std::string_view sentence) { return nmeaCheckSum(sentence); }

void TNMEAFile::ParseGGA(std::string_view sentence, TGPXwpt& point) { nmeaParseGGA(sentence, point); }

bool TNMEAFile::ParseRMC(std::string_view sentence, TGPXwpt& point) {
  Log(std::string(sentence));
  return nmeaParseRMC(sentence, point, Clock());
}

void TNMEAFile::Import(const std::string& fileName) {
  Log("Import " + fileName);
  ImportLines(readTextLines(fileName));
}

void TNMEAFile::ImportLines(const std::vector<std::string>& lines) {
  auto track = std::make_unique<TGPXtrk>();
  track->src = "NMEA Log";
  TGPXtrkseg* segment = track->Add(std::make_unique<TGPXtrkseg>());
  GPX->Tracks.Add(std::move(track));

  auto point = newUnfilledPoint();
  double lastDate = 0;
  double lastMoment = 0;  // the last RMC's date-time, or the fix taken after it in the log
  TReadIssues issues;
  int crcErrors = 0, ggaLines = 0, rmcLines = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (!CheckSum(line)) {
      ++crcErrors;
      continue;
    }
    if (nmeaHasSentence(line, "GGA")) {
      ++ggaLines;
      ParseGGA(line, *point);
      const double timeOfDay = point->Time - std::floor(point->Time);
      point->Time = datedForward(timeOfDay, lastDate, lastMoment);
      // Many receivers send each second's GGA before its RMC. That RMC's date is the fix's own,
      // also after a pause of nearly a day or a clock set back, where the rule above misses.
      const size_t next = nextUsedLine(lines, i + 1);
      TGPXwpt own;
      if (next < lines.size() && nmeaHasSentence(lines[next], "RMC") &&
          nmeaParseRMC(lines[next], own, Clock()) && msOfDay(own.Time) == wholeMs(timeOfDay))
        point->Time = own.Time;
    }
    if (nmeaHasSentence(line, "RMC")) {
      ++rmcLines;
      // Only a date really read dates the fixes that follow.
      if (ParseRMC(line, *point)) lastDate = lastMoment = point->Time;
    }
    if (lastDate != 0 && point->data().sat != kNMEAUnfilled) {
      // A fix off the globe (minutes of 60 and more, a longitude past 180) has no place.
      if (issues.acceptCoordinates(true, point->Lat, point->Lon)) {
        issues.checkTimeAndElevation(*point);
        // A time refused as out of the years dates nothing after it.
        if (point->Time != 0) lastMoment = point->Time;
        segment->AddPoint(std::move(point));
      }
      point = newUnfilledPoint();
    }
  }

  segment->Present = segment->Count() > 0;
  // Never cleared here: an empty import must not hide the tracks already in the document.
  if (segment->Present) GPX->Tracks.Present = true;

  Log(formatInt(static_cast<int64_t>(lines.size())) + " " + _("lines"));
  Log(formatInt(crcErrors) + " " + _n("CRC error", "CRC errors", static_cast<unsigned long>(crcErrors)));
  Log(formatInt(ggaLines) + " " + _("GGA lines"));
  Log(formatInt(rmcLines) + " " + _("RMC lines"));
  Log(formatInt(segment->Count()) + " " + _("points imported"));
  for (const std::string& line : issues.logLines()) Log(line);
  if (ggaLines == 0 && rmcLines == 0) Log(_("No usable NMEA sentence in the file"));
}
