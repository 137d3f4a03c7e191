// The map page in the real browser with the shipped map script: what the page reports on
// loading, on a click and on a marker drag, and what the browser refuses.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "platform/WebEngineBrowser.h"
#include "ui/MapScriptSettings.h"
#include "MapPageFixture.h"

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

TEST_F(MapPageBrowser, DraggedMarkerReportsMoveWithItsIndex) {
  load(samplePage());
  ASSERT_TRUE(waitFor([&] { return contains("Bounds "); }, 3000));
  const QVariantList at = eval("var p = map.lmap.latLngToContainerPoint([45.005, 5.005]); [p.x, p.y]").toList();
  ASSERT_EQ(at.size(), 2);
  // The pin stands above its point.
  const QPoint from(qRound(at[0].toDouble()), qRound(at[1].toDouble()) - 10);
  const QPoint to = from + QPoint(60, 40);
  texts_.clear();
  drag(from, to);
  ASSERT_TRUE(waitFor([&] { return contains("Move "); }, 2000)) << joined();
  const std::string move = find("Move ");
  EXPECT_EQ(move.substr(move.size() - 4), " <0>") << move;
  const QVariantList expected =
      eval("var p = map.lmap.containerPointToLatLng([" + std::to_string(to.x()) + ", " +
           std::to_string(to.y() + 10) + "]); [p.lat, p.lng]")
          .toList();
  TMapPositionText p = positionOf(move.substr(0, move.size() - 4));
  EXPECT_NEAR(p.lat, expected[0].toDouble(), 1e-3);
  EXPECT_NEAR(p.lon, expected[1].toDouble(), 1e-3);
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
