// Map page benchmark: loads a GPX file (bench_gen_gpx makes a 1,000,000-point track) and
// prints the time to generate its web map page and the page's size.
#include <chrono>
#include <cstdio>
#include <string>

#include "base/NumberText.h"
#include "formats/GPXFile.h"
#include "model/GPX.h"
#include "views/GPXToGmap.h"

namespace {

using Clock = std::chrono::steady_clock;

int64_t msSince(Clock::time_point t0) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t0).count();
}

void printFigure(const char* name, int64_t value) {
  std::fputs((std::string(name) + ": " + formatInt(value) + "\n").c_str(), stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: bench_map_page FILE.gpx\n", stderr);
    return 2;
  }
  TGPX doc;
  TGPXFile file;
  file.GPX = &doc;
  file.LoadFromFile(argv[1]);
  if (!file.Loaded) {
    for (const std::string& line : file.Messages) std::fputs((line + "\n").c_str(), stderr);
    return 1;
  }

  TGMap map;
  map.GPX = &doc;
  const auto t0 = Clock::now();
  const std::string page = map.GetPageHTML();
  printFigure("page ms", msSince(t0));
  printFigure("page bytes", static_cast<int64_t>(page.size()));

  // The time a browser takes to load and show this page ("load ms") is measured here once
  // the browser layer exists.
  return 0;
}
