// The map page in the real browser with the shipped map script: what the page reports on
// loading, on a click and on a marker drag, and what the browser refuses.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <tuple>
#include <string>
#include <vector>

#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "platform/JpegWriter.h"
#include "platform/WebEngineBrowser.h"
#include "ui/MapScriptSettings.h"
#include "views/MapProtocol.h"
#include "views/PictureFiles.h"
#include "MapPageFixture.h"

namespace {

// The corners gdalinfo reads from a calibration file, as "Upper Left" and so on to their
// longitude and latitude; empty without gdal-bin.
std::map<std::string, std::pair<double, double>> gdalCorners(const std::string& mapFile) {
  std::map<std::string, std::pair<double, double>> corners;
  FILE* p = popen(("gdalinfo '" + mapFile + "' 2>/dev/null").c_str(), "r");
  char buf[256];
  const std::regex dms(R"((\d+)d\s*(\d+)'\s*([\d.]+)\"([NSEW]).*?(\d+)d\s*(\d+)'\s*([\d.]+)\"([NSEW]))");
  std::cmatch m;
  while (fgets(buf, sizeof buf, p))
    if (std::regex_search(buf, m, dms) && buf[0] != 'C') {
      auto degrees = [&](int i) { return (m[i + 3] == "W" || m[i + 3] == "S" ? -1 : 1) *
                                         (std::stod(m[i]) + std::stod(m[i + 1]) / 60 + std::stod(m[i + 2]) / 3600); };
      corners[std::string(buf, 11)] = {degrees(1), degrees(5)};
    }
  pclose(p);
  return corners;
}

}  // namespace

TEST_F(MapPageBrowser, ReportsZoomThenBoundsOnceLoaded) {
  QElapsedTimer t;
  t.start();
  load(samplePage());
  ASSERT_TRUE(waitFor([&] { return contains("Bounds "); }, 3000)) << joined();
  // The first two texts, in order: the level that fits the data, then the area shown.
  ASSERT_GE(texts_.size(), 2u);
  EXPECT_EQ(texts_[0].rfind("Zoom ", 0), 0u) << joined();
  EXPECT_EQ(texts_[1].rfind("Bounds ((", 0), 0u) << joined();
  const int zoom = std::stoi(texts_[0].substr(5));
  EXPECT_GE(zoom, 10);
  EXPECT_LE(zoom, 16);
  // The area holds the data's box (45..45.02, 5..5.02).
  EXPECT_TRUE(eval("var b = map.getBounds(); b.getSouthWest().lat() <= 45 && b.getNorthEast().lat() >= 45.02 &&"
                   " b.getSouthWest().lng() <= 5 && b.getNorthEast().lng() >= 5.02")
                  .toBool());
  std::printf("load ms: %lld\n", static_cast<long long>(t.elapsed()));
}

// The first view holds the data's box far from the equator too, where the middle latitude
// is not the middle of the map's plane.
TEST_F(MapPageBrowser, FirstViewHoldsTheWholeDataBox) {
  struct Box { double south, west, north, east; };
  const Box boxes[] = {{-0.3, 10, 0.3, 10.2}, {44.9, 6, 45.1, 6.4}, {69.5, 20, 70.5, 25}, {40, 0, 60, 10},
                       {-79, -60, -60, -20}, {-85, -170, 85, 170}};
  for (const Box& k : boxes) {
    TGPX doc;
    auto* segment = doc.Tracks.Add(std::make_unique<TGPXtrk>())->Add(std::make_unique<TGPXtrkseg>());
    for (bool last : {false, true}) {
      segment->AddPoint(std::make_unique<TGPXwpt>());
      segment->GetPoint(last)->Lat = last ? k.north : k.south, segment->GetPoint(last)->Lon = last ? k.east : k.west;
    }
    doc.Tracks.Present = true;
    texts_.clear();
    load(pageOf(doc));
    TBBox view;
    ASSERT_TRUE(waitFor([&] { return parseMapBounds(find("Bounds "), view); }, 3000)) << joined();
    EXPECT_TRUE(view.MinLat <= k.south && view.MaxLat >= k.north && view.MinLon <= k.west && view.MaxLon >= k.east)
        << k.south << " " << k.north << ": " << joined();
  }
}

// "Bounds" gives the edges as shown, unwrapped, and the calibration file written from them
// places the picture there: gdalinfo reads the west corners back, and all four when the view
// lies within -180..180 (it wraps longitudes beyond into the world before it fits the picture).
TEST_F(MapPageBrowser, BoundsAreTheEdgesShownAndTheMapFileCarriesThem) {
  load(samplePage());
  ASSERT_TRUE(waitFor([&] { return contains("Bounds "); }, 3000));
  struct Case { int zoom; double centre, west, east; };
  const Case cases[] = {{1, 5, -220, 230}, {2, 5, -107.5, 117.5}, {2, 170, 57.5, 282.5}, {2, 530, 57.5, 282.5}};
  const int W = 636, H = 476;  // the snapshot of a 640 by 480 view
  const QImage picture(W, H, QImage::Format_RGB32);
  const std::vector<uint8_t> jpeg = EncodeJpeg({picture.constBits(), W, H, int(picture.bytesPerLine())}, 90);
  const std::string name = "GoogleMap-20240101_120000", mapFile = (dir_ / (name + ".map")).string();
  std::ofstream(dir_ / (name + ".jpg"), std::ios::binary).write(reinterpret_cast<const char*>(jpeg.data()), jpeg.size());
  for (const Case& k : cases) {
    texts_.clear();
    browser_->RunScript(QString("map.lmap.setView([45, %1], %2, {animate: false});").arg(k.centre).arg(k.zoom));
    TBBox box;
    ASSERT_TRUE(waitFor([&] { return parseMapBounds(find("Bounds "), box); }, 3000)) << joined();
    const double pixel = 360.0 / (256 << k.zoom);
    EXPECT_NEAR(box.MinLon, k.west, pixel) << joined();
    EXPECT_NEAR(box.MaxLon, k.east, pixel) << joined();
    EXPECT_TRUE(box.MinLat < 45 && box.MaxLat > 45) << joined();

    std::ofstream(mapFile, std::ios::binary) << MapFileText(name, box, W, H);
    const auto corners = gdalCorners(mapFile);
    if (corners.empty()) GTEST_SKIP() << "gdal-bin is not installed";
    // The picture's outer corners, a pixel beyond the calibrated pixels.
    for (auto [corner, lon, lat] : {std::tuple{"Upper Left ", box.MinLon, box.MaxLat}, {"Lower Left ", box.MinLon, box.MinLat},
                                    {"Lower Right", box.MaxLon, box.MinLat}}) {
      if (corner[6] == 'R' && (box.MinLon < -180 || box.MaxLon > 180)) continue;
      ASSERT_TRUE(corners.count(corner)) << corner;
      EXPECT_NEAR(std::remainder(corners.at(corner).first - lon, 360), 0, 1.01 * pixel) << corner << k.zoom;
      EXPECT_NEAR(corners.at(corner).second, lat, 1.01 * pixel) << corner << k.zoom;
    }
  }
}

TEST_F(MapPageBrowser, EveryControlAndLayerTheSettingsOfferLoads) {
  TGMapOptions all;
  all.Control = 2;
  all.Scale = all.OverView = all.AutoHide = true;
  all.MapTypeSatellite = all.MapTypeHybrid = false;
  all.MapTypeMapnik = all.MapTypeOSMCycle = all.MapTypeOSMAerial = all.MapTypeOSMPiste = true;
  TGMapConfig tiles;  // the host's templates; a type not shown fetches nothing
  tiles.MapnikTiles = "http://127.0.0.1:9/m/{z}/{x}/{y}.png";
  tiles.OSMPisteTiles = "http://127.0.0.1:9/base/{z}/{x}/{y}.png http://127.0.0.1:9/piste/{z}/{y}/{x}.png";
  browser_->SetStartScript(TMapScriptSettings{}.StartScript(tiles));
  load(samplePage(all));
  ASSERT_TRUE(waitFor([&] { return contains("Bounds "); }, 3000)) << joined();
  // The four tile layers are map types of their own; satellite and hybrid are gone.
  EXPECT_EQ(eval("map.getMapTypes().map(function (t) { return t.getName(); }).join()").toString().toStdString(),
            "Map,Terrain,Mapnik,Cycle,Aerial,Piste");
  EXPECT_EQ(eval("document.querySelectorAll('.leaflet-control-scale').length").toInt(), 1);
  EXPECT_EQ(eval("[2, 5].map(function (i) { return map.getMapTypes()[i].getTileLayers().map(function (l) {"
                 " return l.getTileUrl({x: 1, y: 2}, 3); }).join(' '); }).join()").toString().toStdString(),
            "http://127.0.0.1:9/m/3/1/2.png,http://127.0.0.1:9/base/3/1/2.png http://127.0.0.1:9/piste/3/2/1.png");
}

TEST_F(MapPageBrowser, ClickOnTheMapReportsItsPosition) {
  load(samplePage());
  ASSERT_TRUE(waitFor([&] { return contains("Bounds "); }, 3000));
  const QPoint at(40, 240);
  const QVariantList expected =
      eval("var p = map.lmap.containerPointToLatLng([40, 240]); [p.lat, p.lng]").toList();
  ASSERT_EQ(expected.size(), 2);
  texts_.clear();
  click(at);
  ASSERT_TRUE(waitFor([&] { return contains("Click "); }, 2000)) << joined();
  TMapPositionText p = positionOf(find("Click "));
  EXPECT_NEAR(p.lat, expected[0].toDouble(), 1e-9);
  EXPECT_NEAR(p.lon, expected[1].toDouble(), 1e-9);
  // A second click on the same spot reports again: the window, not the page, drops repeats.
  click(at);
  ASSERT_TRUE(waitFor([&] { return count("Click ") >= 2; }, 2000)) << joined();
}

// Quick drags, let go straight after the last move or before the pointer got there: the
// marker follows the pointer's whole way and its drop is no click on the map.
TEST_F(MapPageBrowser, DraggedMarkerReportsOneMoveToTheDropAndNoClick) {
  load(samplePage());
  ASSERT_TRUE(waitFor([&] { return contains("Bounds "); }, 3000));
  struct Case { std::vector<int> via; QPoint by; };  // the moves in tenths of the way
  const Case cases[] = {{{10}, {60, 40}}, {{5, 10}, {-50, 30}}, {{4}, {40, -45}}, {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, {-30, -20}}};
  for (const Case& k : cases) {
    const QVariantList pin = eval("var m = map.overlays.filter(function (o) { return o instanceof GMarker &&"
                                  " !o.isHidden(); })[0].getPoint(); var p = map.lmap.latLngToContainerPoint("
                                  "[m.lat(), m.lng()]); [p.x, p.y]").toList();
    ASSERT_EQ(pin.size(), 2);
    const QPointF point(pin[0].toDouble(), pin[1].toDouble());
    const QPoint from = point.toPoint() - QPoint(0, 10);  // the pin stands above its point
    std::vector<QPoint> via;
    for (int tenths : k.via) via.push_back(from + k.by * tenths / 10);
    texts_.clear();
    dragOn(browser_->View(), from, via, from + k.by);
    ASSERT_TRUE(waitFor([&] { return contains("Move "); }, 2000)) << joined();
    QTest::qWait(600);  // what the release might still bring, and further than a double click
    EXPECT_EQ(count("Move "), 1) << joined();
    EXPECT_FALSE(contains("Click ") || contains("Overlay ") || contains("Popup ")) << joined();
    const std::string move = find("Move ");
    EXPECT_EQ(move.substr(move.size() - 4), " <0>") << move;
    const TMapPositionText p = positionOf(move.substr(0, move.size() - 4));
    const QVariantList dropped = eval("var p = map.lmap.latLngToContainerPoint([" + formatGeneral(p.lat) + ", " +
                                      formatGeneral(p.lon) + "]); [p.x, p.y]")
                                     .toList();
    ASSERT_EQ(dropped.size(), 2);
    EXPECT_NEAR(dropped[0].toDouble(), point.x() + k.by.x(), 1.0) << move;
    EXPECT_NEAR(dropped[1].toDouble(), point.y() + k.by.y(), 1.0) << move;
  }
}

TEST_F(MapPageBrowser, RepeatsReachTheHostAndTheHostDrivesThePage) {
  load(samplePage());
  ASSERT_TRUE(waitFor([&] { return contains("Bounds "); }, 3000));
  texts_.clear();
  browser_->RunScript("window.status = 'Same'; window.status = 'Same'; MoveGreenMarker(45.01, 5.01);");
  ASSERT_TRUE(waitFor([&] { return count("Same") == 2; }, 2000)) << joined();
  EXPECT_TRUE(eval("!MovableMarker.isHidden() && MovableMarker.getPoint().lat() == 45.01").toBool());
  EXPECT_EQ(eval("window.status").toString().toStdString(), "Same");
}

TEST_F(MapPageBrowser, BlankLinksOpenOutsideAndNavigationIsRefused) {
  load(samplePage());
  ASSERT_TRUE(waitFor([&] { return contains("Bounds "); }, 3000));
  const QUrl page = browser_->View()->url();
  // The first waypoint's information window holds a link aimed at "_BLANK".
  const QVariantList at = eval("var p = map.lmap.latLngToContainerPoint([45.005, 5.005]); [p.x, p.y]").toList();
  ASSERT_EQ(at.size(), 2);
  click(QPoint(qRound(at[0].toDouble()), qRound(at[1].toDouble()) - 10));
  ASSERT_TRUE(waitFor([&] { return contains("Popup "); }, 2000)) << joined();
  // Then the map hears of a click on an overlay, at the last place the mouse was.
  EXPECT_TRUE(contains("Overlay ")) << joined();
  browser_->RunScript("document.querySelector('.leaflet-popup-content a').click();");
  ASSERT_TRUE(waitFor([&] { return !opened_.empty(); }, 2000));
  EXPECT_EQ(opened_[0].toString().toStdString(), "https://example.org/");
  // Neither a script nor a link leaves the page, and no window opens.
  browser_->RunScript("window.open('https://example.org/'); location.href = 'file:///etc/hostname';"
                      "window.status = 'sent';");
  ASSERT_TRUE(waitFor([&] { return contains("sent"); }, 2000));
  QTest::qWait(300);
  EXPECT_EQ(browser_->View()->url(), page);
  EXPECT_TRUE(eval("typeof map").toString() == "object");
  EXPECT_EQ(opened_.size(), 1u);
}

TEST_F(MapPageBrowser, HostileWaypointTextsRunNothing) {
  TGPX doc;
  auto w = std::make_unique<TGPXwpt>();
  w->Lat = 45.01;
  w->Lon = 5.01;
  TGPXwptData& d = w->edit();
  d.name = "</script><script>window.status='Hacked 1'</script>'+(window.status='Hacked 2')+'\\";
  d.desc = "<img src=x onerror=\"window.status='Hacked 3'\">\r\n\xE2\x80\xA8";
  d.cmt = "\"><svg onload=window.status='Hacked 4'>";
  d.link.Present = true;
  d.link.href = "javascript:window.status='Hacked 5'";
  doc.Waypoints.AddPoint(std::move(w));
  doc.Waypoints.Present = true;
  load(pageOf(doc));
  ASSERT_TRUE(waitFor([&] { return contains("Bounds "); }, 3000)) << joined();
  // Its information window shows the texts as text.
  const QVariantList at = eval("var p = map.lmap.latLngToContainerPoint([45.01, 5.01]); [p.x, p.y]").toList();
  ASSERT_EQ(at.size(), 2);
  click(QPoint(qRound(at[0].toDouble()), qRound(at[1].toDouble()) - 10));
  ASSERT_TRUE(waitFor([&] { return contains("Popup "); }, 2000)) << joined();
  EXPECT_NE(eval("document.querySelector('.leaflet-popup-content').textContent").toString().indexOf("</script>"), -1);
  browser_->RunScript("var a = document.querySelector('.leaflet-popup-content a'); if (a) a.click();");
  QTest::qWait(300);
  EXPECT_FALSE(contains("Hacked")) << joined();
  EXPECT_TRUE(opened_.empty());
}

TEST_F(MapPageBrowser, SnapshotShowsThePage) {
  load(samplePage());
  ASSERT_TRUE(waitFor([&] { return contains("Bounds "); }, 3000));
  QTest::qWait(300);  // the first frame after the report
  const QImage shot = browser_->Snapshot();
  ASSERT_EQ(shot.size(), browser_->size());
  int red = 0;  // the track, drawn in #FF0000 at 0.8 opacity over the empty background
  for (int y = 0; y < shot.height(); y += 2)
    for (int x = 0; x < shot.width(); x += 2) {
      const QColor c = shot.pixelColor(x, y);
      red += c.red() > 200 && c.green() < 90 && c.blue() < 90;
    }
  EXPECT_GT(red, 20);
}

TEST(MapPageLinks, OnlyTheSchemesThePageLinksOpenOutside) {
  const std::pair<const char*, bool> cases[] = {{"HTTP://a.org/", true},   {"ftp://a.org/f", true},
                                                {"mailto:a@b.c", true},    {"file:///etc/passwd", false},
                                                {"javascript:x()", false}, {"", false}};
  for (auto [address, opens] : cases) EXPECT_EQ(opensOutside(QUrl(address)), opens) << address;
}

TEST(WebEngineStartUp, AsRootTheSandboxGoesOffUnlessTheEnvironmentDecided) {
  // From a user id and an environment of the test's own: the process's are not touched.
  struct Case {
    bool headless;
    unsigned userId;
    const char* sandbox;  // QTWEBENGINE_DISABLE_SANDBOX in the environment
    bool offAsRoot;
    size_t variables;
  } cases[] = {{false, 0, nullptr, true, 1}, {false, 0, "", true, 1},  // Chromium would end the editor
               {false, 0, "1", false, 0},    {false, 1000, nullptr, false, 0},
               {true, 1000, nullptr, false, 3}};
  for (const Case& c : cases) {
    const WebEngineStartUp s = webEngineStartUp(c.headless, c.userId, [&](const char* name) {
      return std::string(name) == "QTWEBENGINE_DISABLE_SANDBOX" ? c.sandbox : nullptr;
    });
    EXPECT_EQ(s.SandboxOffAsRoot, c.offAsRoot) << c.userId;
    ASSERT_EQ(s.Variables.size(), c.variables) << c.userId;
    if (c.variables)
      EXPECT_EQ(s.Variables.back(), (std::pair<std::string, std::string>{"QTWEBENGINE_DISABLE_SANDBOX", "1"}));
  }
}
