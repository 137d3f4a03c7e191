// What the fuzz targets check, shared by all of them. A failed check prints what broke and
// aborts: libFuzzer reports that as a finding, the corpus replay test as a crash.
#pragma once
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/DateTime.h"
#include "formats/GPXFile.h"
#include "formats/GPXWriter.h"
#include "model/GPX.h"

[[noreturn]] inline void fuzzFail(const char* what, const char* file, int line, std::string_view detail = {}) {
  std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, what);
  std::fwrite(detail.data(), 1, detail.size(), stderr);
  std::fputc('\n', stderr);
  std::abort();
}
#define FUZZ_CHECK(cond) ((cond) ? (void)0 : fuzzFail(#cond, __FILE__, __LINE__))
#define FUZZ_CHECK_SAME(a, b, what) fuzzCheckSame((a), (b), (what), __FILE__, __LINE__)

inline std::string fuzzText(const uint8_t* data, size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

// Two texts that must be equal; on failure both are shown from a little before the first
// difference.
inline void fuzzCheckSame(const std::string& a, const std::string& b, const char* what, const char* file, int line) {
  if (a == b) return;
  size_t at = 0;
  while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
  const size_t from = at > 80 ? at - 80 : 0;
  fuzzFail(what, file, line, "first:\n" + a.substr(from, 240) + "\nsecond:\n" + b.substr(from, 240));
}

struct FuzzCounts {
  int64_t wpt = 0, rte = 0, rtept = 0, trk = 0, seg = 0, trkpt = 0;
  bool operator==(const FuzzCounts&) const = default;
};

inline FuzzCounts fuzzCounts(const TGPX& doc) {
  FuzzCounts c;
  c.wpt = doc.Waypoints.Count();
  c.rte = doc.Routes.Count();
  for (const auto& r : doc.Routes.Items()) c.rtept += r->Count();
  c.trk = doc.Tracks.Count();
  for (const auto& t : doc.Tracks.Items()) {
    c.seg += t->Count();
    for (const auto& s : t->Items()) c.trkpt += s->Count();
  }
  return c;
}

// Every reader keeps only what a file can hold: coordinates on the globe, finite numbers,
// times that a file can write and read back (years 1 to 9999).
inline void fuzzCheckPoint(const TGPXwpt& p) {
  FUZZ_CHECK(std::isfinite(p.Lat) && p.Lat >= -90 && p.Lat <= 90);
  FUZZ_CHECK(std::isfinite(p.Lon) && p.Lon >= -180 && p.Lon <= 180);
  FUZZ_CHECK(std::isfinite(p.Ele));
  FUZZ_CHECK(std::isfinite(p.Time));
  if (p.Time != 0) {
    const int year = decodeDateTime(p.Time).year;
    FUZZ_CHECK(year >= 1 && year <= 9999);
  }
}

inline void fuzzCheckPoints(const TGPX& doc) {
  for (const auto& p : doc.Waypoints.Items()) fuzzCheckPoint(static_cast<const TGPXwpt&>(*p));
  for (const auto& r : doc.Routes.Items())
    for (const auto& p : r->Items()) fuzzCheckPoint(static_cast<const TGPXwpt&>(*p));
  for (const auto& t : doc.Tracks.Items())
    for (const auto& s : t->Items())
      for (const auto& p : s->Items()) fuzzCheckPoint(static_cast<const TGPXwpt&>(*p));
}

inline std::string fuzzWriteGPX(const TGPX& doc, bool compressed = false) {
  return TGPXWriter(compressed).WriteDocument(doc);
}

// Reads GPX text into `doc` through the file object (the streaming load); false when it
// does not load.
inline bool fuzzLoadGPX(const std::string& text, TGPX& doc) {
  TGPXFile file;
  file.GPX = &doc;
  file.LoadFromString(text);
  return file.Loaded;
}

// A document that was read saves into a file that opens again with the same items, and
// the document of that file saves into one that is a fixed point: read, it saves the same
// text again, indented or compressed. (The first reading may still join the lines of a
// text that kept them, under xml:space or typed.) Returns the first save.
inline std::string fuzzCheckGPXRoundTrip(const TGPX& doc, bool compressed = false) {
  fuzzCheckPoints(doc);
  const std::string first = fuzzWriteGPX(doc, compressed);
  TGPX again, third;
  again.Creator = third.Creator = doc.Creator;
  if (!fuzzLoadGPX(first, again)) fuzzFail("the saved file loads", __FILE__, __LINE__, first);
  FUZZ_CHECK(fuzzCounts(again) == fuzzCounts(doc));
  const std::string second = fuzzWriteGPX(again, compressed);
  if (!fuzzLoadGPX(second, third)) fuzzFail("the second save loads", __FILE__, __LINE__, second);
  FUZZ_CHECK_SAME(second, fuzzWriteGPX(third, compressed), "the third save equals the second");
  return first;
}
