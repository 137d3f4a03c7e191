// NMEA import benchmark: builds logs of N RMC+GGA epochs in memory and prints the import time,
// so that a growth worse than linear (log lines, point appends) shows at once.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "base/DateTime.h"
#include "base/NumberText.h"
#include "formats/NMEAFile.h"
#include "model/GPX.h"

namespace {

std::string sentence(const std::string& body) {
  unsigned x = 0;
  for (char c : body) x ^= static_cast<unsigned char>(c);
  static const char hex[] = "0123456789ABCDEF";
  return "$" + body + "*" + hex[x >> 4] + hex[x & 15];
}

std::vector<std::string> makeLog(int epochs) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<size_t>(epochs) * 2);
  for (int i = 0; i < epochs; ++i) {
    const int s = i % 86400;
    const std::string t = formatIntPadded(s / 3600, 2) + formatIntPadded(s / 60 % 60, 2) +
                          formatIntPadded(s % 60, 2);
    lines.push_back(sentence("GPRMC," + t + ",A,4807.038,N,01131.000,E,0,0,171208,,"));
    lines.push_back(sentence("GPGGA," + t + ",4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"));
  }
  return lines;
}

}  // namespace

int main() {
  for (int epochs : {10000, 100000, 400000}) {
    const std::vector<std::string> lines = makeLog(epochs);
    TGPX doc;
    TNMEAFile file;
    file.GPX = &doc;
    const auto t0 = std::chrono::steady_clock::now();
    file.ImportLines(lines);
    const double sec = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::printf("rmc_lines %d log_lines %zu points %d seconds %.3f\n", epochs, file.Messages.size(),
                doc.Tracks.GetTrack(0)->GetSegment(0)->Count(), sec);
  }
  return 0;
}
