// The map snapshot: the 2-pixel crop, the files by the options and the map's box, the
// button on the map tab, the calibration files byte for byte, and gdalinfo placing the
// picture where they say.
#include <QImage>
#include <cstdio>
#include <regex>
#include <sstream>

#include <QTabWidget>

#include "FakeBrowser.h"
#include "WindowFixture.h"

namespace {

class MapSnapshot : public WindowTest {
protected:
  std::string read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  static TBBox westBox(bool valid) {
    TBBox b;
    b.MinLon = -3.5;
    b.MaxLon = -2.25;
    b.MaxLat = 48.75;
    b.MinLat = 48.125;
    b.Valid = valid;
    return b;
  }
};

// Degrees from gdalinfo's  3d30' 0.00"W  form.
double degrees(const std::smatch& m) {
  const double v = std::stod(m[1]) + std::stod(m[2]) / 60 + std::stod(m[3]) / 3600;
  return m[4] == "W" || m[4] == "S" ? -v : v;
}

}  // namespace

TEST_F(MapSnapshot, FilesByTheOptionsAndTheBox) {
  const std::string base = "GoogleMap-20240317_140359";
  struct Case { int w, h; bool sat, map, valid; std::vector<std::string> files; };
  const Case cases[] = {{804, 604, true, true, true, {".jpg", ".sat", ".map"}},
                        {804, 604, true, true, false, {".jpg"}},
                        {804, 604, false, true, true, {".jpg", ".map"}},
                        {4, 604, true, true, true, {}}};
  for (const Case& k : cases) {
    TMainForm& f = form();
    for (const char* ext : {".jpg", ".sat", ".map"}) fs::remove(path(base + ext));
    f.GMapOptions.WriteSatFile = k.sat;
    f.GMapOptions.WriteMapFile = k.map;
    QImage shot(k.w, k.h, QImage::Format_RGB32);
    shot.fill(Qt::red);
    shot.setPixel(2, 2, qRgb(0, 0, 255));  // the first pixel kept
    f.SaveMapSnapshot(shot, westBox(k.valid));
    std::vector<std::string> found;
    for (const char* ext : {".jpg", ".sat", ".map"})
      if (fs::exists(path(base + ext))) found.push_back(ext);
    EXPECT_EQ(found, k.files) << k.sat << k.map << k.valid;
  }
  // Through the map tab's button. The empty page after Close: nothing written or said.
  FakeBrowserScope browser;
  TMainForm& f = form();
  f.GMapOptions.WriteSatFile = f.GMapOptions.WriteMapFile = true;
  f.OpenGPXFile(writeTrack("t.gpx", "T"));
  f.ActionCloseCurrentGPXExecute();
  auto* tabs = f.findChild<QTabWidget*>("PageControl1");
  tabs->setCurrentWidget(f.findChild<QWidget*>("TabSheet4"));
  ASSERT_TRUE(browser.made);
  browser.made->Picture = QImage(804, 604, QImage::Format_RGB32);
  browser.made->Picture.fill(Qt::white);
  f.GMap->MapBBox = westBox(true);
  QAction* button = f.findChild<QAction*>("tbGMapScreenShot");
  EXPECT_TRUE(button->isVisible());
  f.findChild<QPlainTextEdit*>("mLog")->clear();
  button->trigger();
  EXPECT_TRUE(log().empty() && !fs::exists(path(base + ".jpg")));
  // A page with data: no box until it reports one; then cropped picture, golden files, log.
  f.OpenGPXFile(writeTrack("t.gpx", "T"));
  tabs->setCurrentIndex(0);
  tabs->setCurrentWidget(f.findChild<QWidget*>("TabSheet4"));
  EXPECT_FALSE(f.GMap->MapBBox.Valid);
  f.GMap->MapBBox = westBox(true);
  f.findChild<QPlainTextEdit*>("mLog")->clear();
  button->trigger();
  QImage saved(QString::fromStdString(path(base + ".jpg")));
  EXPECT_EQ(saved.size(), QSize(800, 600));
  for (const char* ext : {".sat", ".map"})
    EXPECT_EQ(read(path(base + ext)), read(fs::path(CORVANTEL_TEST_DATA) / (base + ext))) << ext;
  EXPECT_EQ(log(), (std::vector<std::string>{"Snapshot saved as " + path(base + ".jpg"),
                                             "Geoposition saved as " + path(base + ".sat"),
                                             "Geoposition saved as " + path(base + ".map")}));

  // gdalinfo reads the pair back: the corners we wrote, within a pixel.
  FILE* p = popen(("gdalinfo '" + path(base + ".map") + "' 2>&1").c_str(), "r");
  ASSERT_NE(p, nullptr);
  std::string out;
  char buf[4096];
  while (size_t n = fread(buf, 1, sizeof buf, p)) out.append(buf, n);
  if (pclose(p) != 0 && out.find("not found") != std::string::npos) GTEST_SKIP() << "gdal-bin is not installed";
  const std::regex dms(R"((\d+)d\s*(\d+)'\s*([\d.]+)\"([NSEW]))");
  const double pixelLon = 1.25 / 799, pixelLat = 0.625 / 599;
  int corners = 0;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) {
    const bool upperLeft = line.rfind("Upper Left", 0) == 0;
    if (!upperLeft && line.rfind("Lower Right", 0) != 0) continue;
    std::vector<double> lonLat;
    for (std::sregex_iterator it(line.begin(), line.end(), dms), end; it != end; ++it) lonLat.push_back(degrees(*it));
    ASSERT_EQ(lonLat.size(), 2u) << line;
    EXPECT_NEAR(lonLat[0], upperLeft ? -3.5 : -2.25, 1.01 * pixelLon) << line;
    EXPECT_NEAR(lonLat[1], upperLeft ? 48.75 : 48.125, 1.01 * pixelLat) << line;
    ++corners;
  }
  EXPECT_EQ(corners, 2) << out;
}
