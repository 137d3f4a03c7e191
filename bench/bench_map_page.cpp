// Map page benchmark: loads a GPX file (bench_gen_gpx makes a 1,000,000-point track) and
// prints the time to generate its web map page, the page's size, and the time the browser
// takes from loading the page to its first "Bounds" report (offscreen, no tiles).
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include <QApplication>
#include <QElapsedTimer>
#include <QUrl>

#include "base/NumberText.h"
#include "formats/GPXFile.h"
#include "model/GPX.h"
#include "platform/AppPaths.h"
#include "platform/WebEngineBrowser.h"
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

// Milliseconds from loading the page file to its first "Bounds" text; -1 after 30 s.
int64_t loadMs(const std::string& file) {
  TWebEngineBrowser browser;
  browser.resize(1024, 700);
  browser.SetStartScript("window.CorvantelMapConfig = {};");
  bool bounds = false;
  QObject::connect(&browser, &TWebBrowser::StatusTextChange,
                   [&](const QString& text) { bounds = bounds || text.startsWith("Bounds "); });
  browser.show();
  QElapsedTimer t;
  t.start();
  browser.Navigate(QString::fromStdString(file));
  while (!bounds && t.elapsed() < 30000) QApplication::processEvents(QEventLoop::AllEvents, 10);
  return bounds ? t.elapsed() : -1;
}

int main(int argc, char** argv) {
  prepareWebEngine(true);
  QApplication app(argc, argv);
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
  const std::string web = QUrl::fromLocalFile(CORVANTEL_WEB_DIR).toString().toStdString();
  map.Config.ScriptProvider = map.Config.MarkerServer = map.Config.SmallMarkerServer = web;
  const auto t0 = Clock::now();
  const std::string page = map.GetPageHTML();
  printFigure("page ms", msSince(t0));
  printFigure("page bytes", static_cast<int64_t>(page.size()));

  const std::string pageFile = (std::filesystem::temp_directory_path() / "bench_map_page.htm").string();
  if (std::FILE* f = std::fopen(pageFile.c_str(), "wb")) {
    std::fwrite(page.data(), 1, page.size(), f);
    std::fclose(f);
  }
  printFigure("load ms", loadMs(pageFile));
  std::filesystem::remove(pageFile);
  return 0;
}
