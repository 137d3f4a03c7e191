// Read-and-write benchmark: loads a GPX file with TGPXFile, saves it again, and prints the
// time of each step and the peak resident memory of the process.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "formats/GPXFile.h"
#include "model/GPX.h"

int main(int argc, char** argv) {
  const bool compress = argc == 4 && std::strcmp(argv[3], "--compress") == 0;
  if (argc != 3 && !compress) {
    std::fprintf(stderr, "usage: bench_readwrite IN.gpx OUT.gpx [--compress]\n");
    return 2;
  }
  using Clock = std::chrono::steady_clock;
  const auto t0 = Clock::now();
  TGPX doc;
  TGPXFile reader;
  reader.GPX = &doc;
  reader.LoadFromFile(argv[1]);
  if (!reader.Loaded) {
    for (const std::string& line : reader.Messages) std::fprintf(stderr, "%s\n", line.c_str());
    return 1;
  }
  const auto t1 = Clock::now();
  try {
    doc.Creator = "Corvantel";
    TGPXFile writer;
    writer.GPX = &doc;
    writer.Options.Compress = compress;
    writer.SaveToFile(argv[2]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  const auto t2 = Clock::now();
  rusage ru{};
  getrusage(RUSAGE_SELF, &ru);
  for (const std::string& line : reader.Messages) std::printf("%s\n", line.c_str());
  auto seconds = [](Clock::duration d) { return std::chrono::duration<double>(d).count(); };
  std::printf("read_seconds %.3f\n", seconds(t1 - t0));
  std::printf("write_seconds %.3f\n", seconds(t2 - t1));
  std::printf("total_seconds %.3f\n", seconds(t2 - t0));
  std::printf("peak_rss_kib %ld\n", ru.ru_maxrss);
  return 0;
}
