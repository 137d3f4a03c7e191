// What a reader refused, counted for its log lines: points whose coordinates cannot be
// placed are left out, values a file cannot hold become "none". Nothing is silently put at 0.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class TGPXwpt;

struct TReadIssues {
  int64_t unreadableCoordinates = 0;  // points left out: latitude or longitude missing or no number
  int64_t coordinatesOutOfRange = 0;  // points left out: not finite or off the globe
  int64_t refusedTimes = 0;           // unreadable times, or outside the years 1 to 9999
  int64_t refusedElevations = 0;      // elevations that are no finite number
  int64_t textsTooLong = 0;           // texts, and extension pieces holding one, a saved file cannot hold
  int64_t extensionsTooDeep = 0;      // extension pieces whose elements would stand too deep once saved

  // Whether a point with these coordinates is kept; counts the reason when it is not.
  bool acceptCoordinates(bool readable, double lat, double lon);
  // Clears a time or an elevation that no file could hold, counting it.
  void checkTimeAndElevation(TGPXwpt& point);
  // One line per kind of issue met, nothing when all went well.
  std::vector<std::string> logLines() const;
};

// The tally of the GPX load running on this thread, for the element readers, which are
// static; null when they are called outside a load.
TReadIssues* activeReadIssues();

// Makes `issues` the tally of this thread while alive.
class TReadIssuesScope {
public:
  explicit TReadIssuesScope(TReadIssues& issues);
  ~TReadIssuesScope();
  TReadIssuesScope(const TReadIssuesScope&) = delete;
  TReadIssuesScope& operator=(const TReadIssuesScope&) = delete;

private:
  TReadIssues* previous_;
};
