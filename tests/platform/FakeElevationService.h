// The fake elevation service with its HTTP and SOCKS 5 proxies (tests/data), one process for
// a test program, and the log of the requests it saw.
#pragma once
#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include <QProcess>
#include <QTemporaryDir>

class FakeElevationService {
public:
  static FakeElevationService& instance() {
    static FakeElevationService service;
    return service;
  }
  ~FakeElevationService() {
    process_.kill();
    process_.waitForFinished(3000);
  }
  // The service's address, with a scripted mode such as "nodata/" or none.
  std::string base(const std::string& mode = {}) const { return "http://127.0.0.1:" + port(0) + "/" + mode; }
  std::string port(int i) const { return ports_.value(i).toStdString(); }  // 1 HTTP proxy, 2 SOCKS
  // The log lines written since the last call.
  std::vector<std::string> takeLog() {
    std::ifstream in(dir_.filePath("log").toStdString());
    in.seekg(static_cast<std::streamoff>(read_));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line); read_ += line.size() + 1) lines.push_back(line);
    return lines;
  }
  static double srtm3(double lat) { return std::nearbyint(lat * 100); }
  static double gtopo30(double lat) { return std::nearbyint(lat * 10); }

private:
  FakeElevationService() {
    std::ofstream(dir_.filePath("log").toStdString()).flush();
    process_.start("python3", {CORVANTEL_TEST_DATA "/fake_elevation_service.py", dir_.filePath("log")});
    process_.waitForReadyRead(10000);
    ports_ = QString(process_.readLine()).trimmed().split(' ');
  }
  QTemporaryDir dir_;
  size_t read_ = 0;
  QProcess process_;
  QStringList ports_;
};
