// The fake elevation service, HTTP proxy and SOCKS 5 proxy (tests/data), one process shared
// by a test program, with the log of the requests it saw.
#pragma once
#include <cmath>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <QProcess>
#include <QStringList>
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
  // "http://127.0.0.1:<port>/" followed by a scripted mode ("nodata/") or nothing.
  std::string base(const std::string& mode = {}) const {
    return "http://127.0.0.1:" + std::to_string(ports_[0]) + "/" + mode;
  }
  int httpProxyPort() const { return ports_[1]; }
  int socksPort() const { return ports_[2]; }
  // The log lines written since the last call.
  std::vector<std::string> takeLog() {
    std::ifstream in(logFile_);
    in.seekg(static_cast<std::streamoff>(read_));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
      lines.push_back(line);
      read_ += line.size() + 1;
    }
    return lines;
  }
  // What the service answers for a latitude.
  static double srtm3(double lat) { return std::nearbyint(lat * 100); }
  static double gtopo30(double lat) { return std::nearbyint(lat * 10); }

private:
  FakeElevationService() {
    logFile_ = dir_.filePath("requests.log").toStdString();
    std::ofstream(logFile_).flush();
    process_.start("python3", {QString(CORVANTEL_TEST_DATA "/fake_elevation_service.py"),
                               QString::fromStdString(logFile_)});
    process_.waitForReadyRead(10000);
    const QStringList ports = QString(process_.readLine()).trimmed().split(' ');
    for (int i = 0; i < 3 && i < ports.size(); ++i) ports_[i] = ports[i].toInt();
  }
  QTemporaryDir dir_;
  std::string logFile_;
  size_t read_ = 0;
  QProcess process_;
  int ports_[3] = {};
};
