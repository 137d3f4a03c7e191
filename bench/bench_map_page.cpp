// Map page benchmark: loads a GPX file (bench_gen_gpx makes a 1,000,000-point track) and
// prints the time to generate its web map page, the page's size, the time the browser
// takes from loading the page to its first "Bounds" report and the end of its set-up
// (offscreen, no tiles), and the median time of an animated zoom step, as the mouse wheel
// makes one, to the next "Bounds".
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

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

// Loads the page file and steps the zoom: one level in, six times, then back out six times,
// each animated as the wheel's. Prints the time from loading to the first "Bounds" text and
// the end of the page's set-up, and the median time from a step to its "Bounds" text; -1
// for either that never came (30 s).
void loadAndZoom(const std::string& file) {
  TWebEngineBrowser browser;
  browser.resize(1024, 700);
  browser.SetStartScript("window.CorvantelMapConfig = {};");
  int bounds = 0;
  QObject::connect(&browser, &TWebBrowser::StatusTextChange,
                   [&](const QString& text) { bounds += text.startsWith("Bounds "); });
  browser.show();
  auto waitBounds = [&](int seen) {
    QElapsedTimer t;
    t.start();
    while (bounds == seen && t.elapsed() < 30000) QApplication::processEvents(QEventLoop::AllEvents, 5);
    return bounds > seen;
  };
  QElapsedTimer t;
  t.start();
  browser.Navigate(QString::fromStdString(file));
  // The first "Bounds" comes before the page draws its lines; a script run after it is
  // answered once the page's set-up is over.
  bool setUp = false;
  if (waitBounds(0))
    browser.View()->page()->runJavaScript("0", [&](const QVariant&) { setUp = true; });
  while (!setUp && t.elapsed() < 30000) QApplication::processEvents(QEventLoop::AllEvents, 5);
  printFigure("load ms", setUp ? t.elapsed() : -1);
  if (!setUp) return;
  std::vector<int64_t> steps;
  for (const char* step : {"zoomIn", "zoomOut"})
    for (int i = 0; i < 6; ++i) {
      const int seen = bounds;
      t.restart();
      browser.RunScript(QString("map.%1();").arg(step));
      if (!waitBounds(seen)) {
        printFigure("zoom step ms", -1);
        return;
      }
      steps.push_back(t.elapsed());
    }
  std::sort(steps.begin(), steps.end());
  printFigure("zoom step ms", (steps[steps.size() / 2 - 1] + steps[steps.size() / 2]) / 2);
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
  loadAndZoom(pageFile);
  std::filesystem::remove(pageFile);
  return 0;
}
