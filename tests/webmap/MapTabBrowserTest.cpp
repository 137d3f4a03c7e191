// The whole map tab with the real browser: the window writes the page, the page reports
// its area, a waypoint added from a click gets its marker on the page, and dragging that
// marker while a route is drawn moves the waypoint without adding a route point.
#include <QTabWidget>
#include <QWebEngineView>

#include "../ui/WindowFixture.h"
#include "MapPageFixture.h"

TEST_F(WindowTest, MapTabShowsTheDocumentAndTakesAWaypoint) {
  TMainForm& f = form();
  // The build tree's map script, and no tiles: the test stays off the network.
  const std::string web = providerAddress();
  f.GMap->Config.ScriptProvider = f.GMap->Config.MarkerServer = f.GMap->Config.SmallMarkerServer = web;
  f.MapScript = TMapScriptSettings{{}, {}, {}, {}};
  f.OpenGPXFile(writeTrack("t.gpx", "T", 3));
  f.show();
  f.findChild<QTabWidget*>("PageControl1")->setCurrentWidget(f.findChild<QWidget*>("TabSheet4"));
  QElapsedTimer t;
  t.start();
  while (!f.MapPageReady && t.elapsed() < 5000) QTest::qWait(10);
  ASSERT_TRUE(f.MapPageReady);
  EXPECT_TRUE(f.GMap->MapBBox.Valid);
  EXPECT_LE(f.GMap->MapBBox.MinLat, 45);
  EXPECT_GE(f.GMap->MapBBox.MaxLat, 45.02);

  f.wbGMapStatusTextChange("Click 45.01, 5.001");
  f.tbGMapAddWayPointClick();
  ASSERT_EQ(f.CurrentGPX->Waypoints.Count(), 1);
  auto* view = f.findChild<QWebEngineView*>();
  ASSERT_TRUE(view);
  bool done = false;
  QVariant markers;
  // The page's overlays: the track, the hidden green marker, and the new blue one.
  view->page()->runJavaScript("map.overlays.length", [&](const QVariant& v) { markers = v, done = true; });
  while (!done && t.elapsed() < 8000) QTest::qWait(10);
  EXPECT_EQ(markers.toInt(), 3);

  action("tbGMapDrawRoute")->trigger();
  ASSERT_TRUE(f.MapRoute);
  const QVariantList pin = evalIn(view, "var p = map.lmap.latLngToContainerPoint([45.01, 5.001]); [p.x, p.y]").toList();
  ASSERT_EQ(pin.size(), 2);
  const QPoint from(qRound(pin[0].toDouble()), qRound(pin[1].toDouble()) - 10);
  dragOn(view, from, {from + QPoint(70, 30)}, from + QPoint(70, 30));
  ASSERT_TRUE(waitFor([&] { return lastLog().rfind("Moved WayPoint ", 0) == 0; }, 3000)) << lastLog();
  QTest::qWait(300);
  EXPECT_EQ(f.MapRoute->Count(), 0) << lastLog();
  action("tbGMapDrawRoute")->trigger();
  EXPECT_EQ(f.CurrentGPX->Routes.Count(), 0);
  EXPECT_GT(f.CurrentGPX->Waypoints.GetPoint(0)->Lon, 5.003);  // moved east
}
