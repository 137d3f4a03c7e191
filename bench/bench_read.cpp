// Read benchmark: loads a GPX file with TGPXFile and prints the wall time and the peak
// resident memory of the process.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "formats/GPXFile.h"
#include "model/GPX.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: bench_read FILE.gpx\n");
    return 2;
  }
  auto t0 = std::chrono::steady_clock::now();
  TGPX doc;
  TGPXFile file;
  file.GPX = &doc;
  file.LoadFromFile(argv[1]);
  auto t1 = std::chrono::steady_clock::now();
  rusage ru{};
  getrusage(RUSAGE_SELF, &ru);
  for (const std::string& line : file.Messages) std::printf("%s\n", line.c_str());
  std::printf("read_seconds %.3f\n", std::chrono::duration<double>(t1 - t0).count());
  std::printf("peak_rss_kib %ld\n", ru.ru_maxrss);
  return file.Loaded ? 0 : 1;
}
