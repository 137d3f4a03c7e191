// The map tab with a fake page in place of the browser: the page file, the status texts the
// page reports, moving waypoints, and the two commands that draw on the map.
#include <QDialog>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>

#include "base/LocaleFormats.h"

#include "platform/WebBrowser.h"
#include "WindowFixture.h"

namespace {

// Records what the window asks of the page; the test speaks for the page.
class TFakePage : public TWebBrowser {
public:
  using TWebBrowser::TWebBrowser;
  void Navigate(const QString& fileName) override { Pages.push_back(fileName.toStdString()); }
  void RunScript(const QString& statement) override { Scripts.push_back(statement.toStdString()); }
  std::vector<std::string> Pages, Scripts;
};

const char* const kDocument =
    "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" creator=\"t\" xmlns=\"http://www.topografix.com/GPX/1/1\">"
    "<wpt lat=\"45\" lon=\"5\"><name>A</name></wpt><wpt lat=\"45.1\" lon=\"5.1\"><name>B</name></wpt>"
    "<trk><name>T</name><trkseg><trkpt lat=\"45\" lon=\"5\"/><trkpt lat=\"45.2\" lon=\"5.2\"/></trkseg></trk></gpx>\n";

class MapTab : public WindowTest {
protected:
  void SetUp() override {
    WindowTest::SetUp();
    saved_ = webBrowserFactory();
    webBrowserFactory() = [this](QWidget* parent) { return page_ = new TFakePage(parent); };
  }
  void TearDown() override {
    webBrowserFactory() = saved_;
    WindowTest::TearDown();
  }
  // The window with the two-waypoint document open and its map tab shown.
  TMainForm& shown(bool open = true) {
    TMainForm& f = form();
    if (open) f.OpenGPXFile(write("map.gpx", kDocument));
    f.findChild<QTabWidget*>("PageControl1")->setCurrentWidget(f.findChild<QWidget*>("TabSheet4"));
    return f;
  }
  void say(const std::string& text) { form_->wbGMapStatusTextChange(QString::fromStdString(text)); }
  std::string caption() { return form_->findChild<QLabel*>("pGMap")->text().toStdString(); }
  std::string hint() { return form_->findChild<QToolBar*>("ToolBar2")->toolTip().toStdString(); }
  TGPXwpt* wpt(int i) { return form_->CurrentGPX->Waypoints.GetPoint(i); }

  WebBrowserFactory saved_;
  TFakePage* page_ = nullptr;
};

}  // namespace

TEST_F(MapTab, EachShowingWritesThePageAnewAndLoadsIt) {
  TMainForm& f = shown();
  ASSERT_TRUE(page_);
  EXPECT_FALSE(f.MapPageReady);
  EXPECT_EQ(lastLog(), "Loading Google Maps HTML File");
  ASSERT_EQ(page_->Pages, std::vector<std::string>{path("GoogleMaps.htm")});
  EXPECT_TRUE(fs::exists(path("GoogleMaps.htm")));
  say("Bounds ((1, 2), (3, 4))");
  EXPECT_TRUE(f.MapPageReady);
  f.findChild<QTabWidget*>("PageControl1")->setCurrentIndex(0);
  f.findChild<QTabWidget*>("PageControl1")->setCurrentWidget(f.findChild<QWidget*>("TabSheet4"));
  EXPECT_FALSE(f.MapPageReady);
  EXPECT_EQ(page_->Pages.size(), 2u);
  EXPECT_EQ(page_->Pages[1], page_->Pages[0]);
  form_.reset();  // shut-down takes the last page file along
  EXPECT_FALSE(fs::exists(path("GoogleMaps.htm")));
}

TEST_F(MapTab, WithoutDataNothingIsWritten) {
  shown(false);
  EXPECT_EQ(lastLog(), "No data to display in Google Map");
  EXPECT_TRUE(page_->Pages.empty());
}

TEST_F(MapTab, AnUnwritableFolderFallsBackToATemporaryFileThenGivesUp) {
  write("file", "x");
  AppPaths::setProgramFolder(path("file") + "/sub");  // a folder that cannot exist
  shown();
  ASSERT_EQ(page_->Pages.size(), 1u);
  const fs::path temp = page_->Pages[0];
  EXPECT_EQ(temp.filename().string().rfind("Cvwm", 0), 0u);
  EXPECT_EQ(temp.extension(), ".htm");
  // No temporary folder either: the error line, and the browser keeps its page.
  const std::string tmp = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
  setenv("TMPDIR", path("file").c_str(), 1);
  form_->TabSheet4Show();
  tmp.empty() ? unsetenv("TMPDIR") : setenv("TMPDIR", tmp.c_str(), 1);
  EXPECT_EQ(lastLog(), "Can't create temporary HTML file in \"" + path("file") + "/sub/\"");
  EXPECT_EQ(page_->Pages.size(), 1u);
  EXPECT_FALSE(fs::exists(temp));  // the previous page file went all the same
}

TEST_F(MapTab, StatusTextsSetCaptionHintAndButtons) {
  TMainForm& f = shown();
  QAction* add = action("tbGMapAddWayPoint");
  QAction* route = action("tbGMapDrawRoute");
  struct Step {
    const char* text;
    bool addBefore;  // tbGMapAddWayPoint's state before the text
    const char* caption;
    const char* hint;
    bool addAfter, ready;
  };
  const Step steps[] = {
      {"  Zoom 12 ", true, "Zoom 12", "", true, false},
      {"Bounds ((45, 5), (45.2, 5.2))", false, "Bounds ((45, 5), (45.2, 5.2))", "Bounds ((45, 5), (45.2, 5.2))", true, true},
      {"Click 45.1, 5.1", false, "Click 45.1, 5.1", "Click 45.1, 5.1", true, true},
      {"Zoom 13", true, "Zoom 13", "Click 45.1, 5.1", true, true},
      {"Overlay 45.2, 5.2", false, "Overlay 45.2, 5.2", "Overlay 45.2, 5.2", true, true},
      // A repeat of the caption changes nothing but the button.
      {"Overlay 45.2, 5.2", false, "Overlay 45.2, 5.2", "Overlay 45.2, 5.2", true, true},
      {"Popup 45, 5", true, "Popup 45, 5", "Popup 45, 5", true, true},
      {"", true, "Popup 45, 5", "Popup 45, 5", true, true},
      {"Other", true, "Other", "Popup 45, 5", true, true},
  };
  for (const Step& s : steps) {
    add->setEnabled(s.addBefore);
    route->setEnabled(false);
    say(s.text);
    EXPECT_EQ(caption(), s.caption) << s.text;
    EXPECT_EQ(hint(), s.hint) << s.text;
    EXPECT_EQ(add->isEnabled(), s.addAfter) << s.text;
    EXPECT_EQ(f.MapPageReady, s.ready) << s.text;
  }
  // A "Bounds" while the add button is disabled enables the map's buttons.
  EXPECT_FALSE(route->isEnabled());
  add->setEnabled(false);
  say("Bounds ((5, 6), (7, 8))");
  EXPECT_TRUE(route->isEnabled());
  EXPECT_TRUE(f.GMap->MapBBox.Valid);
  EXPECT_EQ(f.GMap->MapBBox.MinLat, 5);  // a one-digit south edge reads
  EXPECT_EQ(f.GMap->MapBBox.MaxLon, 8);
}

TEST_F(MapTab, MoveTextsMoveOnlyTheWaypointTheirMarkerStoodFor) {
  TMainForm& f = shown();
  TGPXwpt* b = wpt(1);
  say("Move 46.5, 7.25 <1>");
  EXPECT_EQ(b->Lat, 46.5);
  EXPECT_EQ(b->Lon, 7.25);
  EXPECT_TRUE(f.GPXModified);
  EXPECT_TRUE(f.UndoList.empty());
  EXPECT_EQ(f.CurrentGPX->Selection.Items, std::vector<TItem*>{b});
  EXPECT_EQ(log()[log().size() - 2], "Google Map Move 46.5, 7.25 <1>");
  EXPECT_EQ(lastLog().rfind("Moved WayPoint \"B\" to ", 0), 0u);

  // Waypoint A goes while the page stays: marker 0 stands for nothing, marker 1 still for B.
  f.AskYesNo = [](QWidget*, const QString&) { return true; };
  select("A");
  f.tbDeleteClick();
  ASSERT_EQ(f.CurrentGPX->Waypoints.Count(), 1);
  const struct {
    const char* text;
    double lat;
  } moves[] = {
      {"Move 10, 10 <2>", 46.5},         // no such marker
      {"Move 10, 10", 46.5},             // no index
      {"Move 1x, 10 <1>", 46.5},         // numbers that do not read change nothing
      {"Move 11, 12 <1>", 11},           // B, now at index 0, still moves by its marker
      {"Move 11, 12 <1>", 11},           // a repeat is not moved twice
  };
  for (const auto& m : moves) {
    say(m.text);
    EXPECT_EQ(b->Lat, m.lat) << m.text;
  }
  EXPECT_EQ(b->Lon, 12);

  // A new page that cannot be written leaves the browser on the old one, and its markers
  // keep their waypoints: marker 0 (A) must not become B. A device in the page's place is
  // no page file, and there is no temporary folder either.
  fs::create_directory(path("full"));
  fs::create_symlink("/dev/full", path("full/GoogleMaps.htm"));
  AppPaths::setProgramFolder(path("full"));
  write("file", "x");
  const std::string tmp = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
  setenv("TMPDIR", path("file").c_str(), 1);
  f.TabSheet4Show();
  tmp.empty() ? unsetenv("TMPDIR") : setenv("TMPDIR", tmp.c_str(), 1);
  EXPECT_EQ(lastLog(), "Can't create temporary HTML file in \"" + path("full") + "/\"");
  say("Move 20, 20 <0>");
  EXPECT_EQ(b->Lat, 11);
  EXPECT_EQ(page_->Pages.size(), 2u);  // A's marker: the page is written again
}

TEST_F(MapTab, AMarkerMovedAfterTheDialogsOkOrAnUndoIsNeverLost) {
  TMainForm& f = shown();
  f.ShowDialog = [](QDialog*) { return int(QDialog::Accepted); };
  select("B");
  f.Properties1Click();  // B's edited copy takes its place
  say("Move 46.5, 7.25 <1>");
  EXPECT_EQ(wpt(1)->Lat, 46.5);
  // Undo leaves the page; a Move on it says so and draws the page again, whose marker moves B.
  action("tbGMapDrawRoute")->trigger();
  say("Click 45, 5");
  f.ActionUndoExecute();
  say("Move 47, 8 <1>");
  EXPECT_EQ(log()[log().size() - 2], "The map showed an older state of the document; it is drawn again");
  EXPECT_EQ(page_->Pages.size(), 2u);
  say("Move 47.5, 8 <1>");
  EXPECT_EQ(wpt(1)->Lat, 47.5);
  say("Click 45.2, 5.2");  // the route being drawn kept its first point
  action("tbGMapDrawRoute")->trigger();
  EXPECT_EQ(f.CurrentGPX->Routes.GetRoute(0)->Count(), 2);
}

TEST_F(MapTab, AddWaypointTakesTheLastClick) {
  TMainForm& f = shown();
  page_->Scripts.clear();
  f.tbGMapAddWayPointClick();
  EXPECT_EQ(lastLog(), "Click on the GMap first");
  say("Click 1x, 6");  // does not read: nothing changes, no undo copy
  f.tbGMapAddWayPointClick();
  EXPECT_EQ(f.CurrentGPX->Waypoints.Count(), 2);
  EXPECT_TRUE(f.UndoList.empty());

  say("Click 45.5, 6.25");
  f.tbGMapAddWayPointClick();
  ASSERT_EQ(f.CurrentGPX->Waypoints.Count(), 3);
  TGPXwpt* w = wpt(2);
  EXPECT_EQ(w->Lat, 45.5);
  EXPECT_EQ(w->Lon, 6.25);
  EXPECT_EQ(w->data().name, "GMap " + w->LatLonToStr());
  EXPECT_EQ(w->data().fix, "2d");
  EXPECT_EQ(w->data().src, "Google Map");
  EXPECT_EQ(f.UndoList.size(), 1u);
  ASSERT_EQ(page_->Scripts.size(), 1u);
  EXPECT_EQ(page_->Scripts[0], "createMapMarker(\"45.5\", \"6.25\", \"" + w->data().name + "\", 2);");
  EXPECT_FALSE(action("tbGMapAddWayPoint")->isEnabled());
  // The new marker moves the new waypoint.
  say("Move 45.75, 6.5 <2>");
  EXPECT_EQ(w->Lat, 45.75);
  // After a map move the button comes back, and the last text is no click.
  say("Bounds ((45, 5), (46, 7))");
  EXPECT_TRUE(action("tbGMapAddWayPoint")->isEnabled());
  f.tbGMapAddWayPointClick();
  EXPECT_EQ(lastLog(), "Click on the GMap first");
}

TEST_F(MapTab, DrawnRouteIsOneUndoStepAtRelease) {
  TMainForm& f = shown();
  QAction* draw = action("tbGMapDrawRoute");
  page_->Scripts.clear();
  draw->trigger();  // down, then up without a click: nothing changes
  draw->trigger();
  EXPECT_EQ(f.CurrentGPX->Routes.Count(), 0);
  EXPECT_TRUE(f.UndoList.empty());

  draw->trigger();
  for (const char* click : {"Click 45, 5", "Click 45, 5", "Overlay 45.05, 5", "Popup 45.1, 5.1", "Click 45.2, 5.2"})
    say(click);
  ASSERT_EQ(page_->Scripts.size(), 2u);  // nothing for the first point
  EXPECT_EQ(page_->Scripts[0],
            "pts = [];\r\npts[0] = new GLatLng(45, 5);\r\npts[1] = new GLatLng(45.1, 5.1);\r\n"
            "var AddedRoute = new GPolyline(pts,\"#00DD00\",4);\r\nmap.addOverlay(AddedRoute);");
  EXPECT_NE(page_->Scripts[1].find("pts[2] = new GLatLng(45.2, 5.2);\r\nmap.removeOverlay(AddedRoute);var AddedRoute"),
            std::string::npos);
  EXPECT_TRUE(f.UndoList.empty());
  draw->trigger();
  ASSERT_EQ(f.CurrentGPX->Routes.Count(), 1);
  const TGPXrte* r = f.CurrentGPX->Routes.GetRoute(0);
  EXPECT_EQ(r->name, "Google Map Route #0");
  EXPECT_EQ(r->Count(), 3);
  EXPECT_EQ(f.UndoList.size(), 1u);
  EXPECT_EQ(f.UndoList[0]->Routes.Count(), 0);
  EXPECT_TRUE(f.GPXModified);
}

TEST_F(MapTab, DrawnRouteTakesOverTheGraphAndTheStatusBar) {
  TMainForm& f = shown();
  select("Track Segment #1");  // the graph shows the segment
  action("tbGMapDrawRoute")->trigger();
  for (const char* click : {"Click 45, 5", "Click 45.1, 5", "Click 45.2, 5"}) say(click);
  action("tbGMapDrawRoute")->trigger();
  EXPECT_EQ(f.GPXStat->Points.SourceList, f.CurrentGPX->Routes.GetRoute(0));
  EXPECT_EQ(panel(1), "3 points");
}

TEST_F(MapTab, GreenMarkerMovesOnlyOnceThePageIsReady) {
  TMainForm& f = shown();
  page_->Scripts.clear();
  f.MoveGreenMarker(45.5, 6.25);
  EXPECT_TRUE(page_->Scripts.empty());
  say("Bounds ((45, 5), (46, 7))");
  f.MoveGreenMarker(45.5, 6.25);
  EXPECT_EQ(page_->Scripts, std::vector<std::string>{"MoveGreenMarker(45.5, 6.25);"});
}

TEST_F(MapTab, CaptionsOfAnyLengthLeaveTheMapItsSize) {
  TMainForm& f = shown();
  f.resize(760, 550);
  f.show();
  QApplication::processEvents();
  const QSize before = page_->size();
  say("Bounds ((45.14160960900533, 5.620880126953125), (45.20816611702967, 5.828590393066407))");
  QApplication::processEvents();
  EXPECT_EQ(page_->size(), before);
  say("Click 45.2, 5.7");
  QApplication::processEvents();
  EXPECT_EQ(page_->size(), before);  // a resized map would report its area again
}

TEST_F(MapTab, DebugLogsEveryTextAndThePanelClickLogsTheCaption) {
  shown();
  IsDebug = true;
  say(" Zoom 3 ");
  say("Zoom 3");
  IsDebug = false;
  const auto lines = log();
  EXPECT_EQ(lines[lines.size() - 2], "[" + localeFormats().longTime(hooks_.Now()) + "] Zoom 3");
  EXPECT_EQ(lines.back(), lines[lines.size() - 2]);  // repeats too
  QTest::mouseClick(form_->findChild<QLabel*>("pGMap"), Qt::LeftButton);
  EXPECT_EQ(lastLog(), "Zoom 3");
}
