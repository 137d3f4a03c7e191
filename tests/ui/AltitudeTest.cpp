// The altitude download dialog against the fake service, and the Edit menu's altitude and
// time commands.
#include <limits>

#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "../platform/FakeElevationService.h"
#include "WindowFixture.h"
#include "base/NumberText.h"
#include "formats/GPXText.h"
#include "model/GPSAnalysis.h"
#include "platform/ElevationService.h"
#include "platform/HttpClient.h"
#include "ui/dialogs/AltitudeDownload.h"
#include "ui/dialogs/ShiftAltitude.h"

namespace {

TGPXwpt* addPoint(TGPXwptList& list, double lat, double lon, double ele = 0, double time = 0) {
  auto p = std::make_unique<TGPXwpt>();
  p->Lat = lat, p->Lon = lon, p->Ele = ele, p->Time = time;
  return list.AddPoint(std::move(p));
}

std::string text(QWidget* w, const char* name) { return w->findChild<QLabel*>(name)->text().toStdString(); }
QPushButton* button(QWidget* w, const char* name) { return w->findChild<QPushButton*>(name); }

std::vector<double> elevations(const std::vector<TGPXwptList*>& lists, bool times = false) {
  std::vector<double> out;
  for (auto* l : lists)
    for (int i = 0; i < l->Count(); ++i) out.push_back(times ? l->GetPoint(i)->Time : l->GetPoint(i)->Ele);
  return out;
}

// Download, Cancel and OK as the user sees them: "-" hidden, "0" disabled, "1" enabled.
std::string buttonStates(QWidget* w) {
  std::string out;
  for (const char* b : {"btnDownload", "btnCancel", "btnOK"})
    out += button(w, b)->isHidden() ? '-' : button(w, b)->isEnabled() ? '1' : '0';
  return out;
}

}  // namespace

TEST(AltitudeDownload, FortyFiveDistinctPointsInBatchesOf20) {
  auto& fake = FakeElevationService::instance();
  setElevationServiceAddress(fake.base());
  TGPXwptList list;
  for (int i = 0; i < 45; ++i) addPoint(list, 10 + i * 0.01, 5, i == 3 ? 8 : 0);
  addPoint(list, 10, 5, 7);  // shares the first position: asked for once
  TAltitudeDownloadForm form;
  form.Waypoints = &list;
  form.ElevationCredit = 100;
  form.FormShow();
  EXPECT_EQ(text(&form, "lblTrackPoints") + text(&form, "lblPointWithoutAltitude"),
            "Waypoints : 46Point without altitude : 44");
  EXPECT_TRUE(form.findChild<QLabel*>("lblTackSegment")->isHidden());
  EXPECT_EQ(form.findChild<QProgressBar*>("pbDownload")->value(), 1000 - 44 * 1000 / 46);
  fake.takeLog();
  form.btnDownloadClick();
  std::vector<size_t> batches;  // points a request: its commas are twice one less
  for (const std::string& line : fake.takeLog()) batches.push_back(std::count(line.begin(), line.end(), ',') / 2 + 1);
  EXPECT_EQ(batches, (std::vector<size_t>{20, 20, 5}));
  EXPECT_EQ(form.ElevationCredit, 10);
  EXPECT_EQ(text(&form, "lblGeoCredit") + text(&form, "lblPointWithoutAltitude"),
            "Geonames credit : 10Point without altitude : 0");
  for (int i = 0; i < list.Count(); ++i)
    EXPECT_EQ(list.GetPoint(i)->Ele, fake.srtm3(list.GetPoint(i)->Lat)) << i;
  EXPECT_EQ(buttonStates(&form), "-01");
}

TEST(AltitudeDownload, WritesBackOnlyWhatTheServiceAnswered) {
  auto& fake = FakeElevationService::instance();
  const double s1 = fake.srtm3(45.01), s2 = fake.srtm3(45.02);
  struct Case { std::string mode; std::vector<double> track, waypoints; };  // elevations after
  const Case cases[] = {
      // Latitude 0 answers 0: a track point takes it, a waypoint keeps its altitude.
      {"", {0, s1, s1, s2}, {50, s1, s1, s2}},
      // No value for 45.01: neither point there gets the other's old altitude.
      {"garbage/", {0, 9, 33, s2}, {50, 9, 33, s2}},
      {"short/", {0, s1, s1, 0}, {50, s1, s1, 0}},
      {"nodata/", {50, 9, 33, 0}, {50, 9, 33, 0}},
      {"absurd/", {50, 9, 33, 0}, {50, 9, 33, 0}},  // 1E308 is no altitude
  };
  for (const Case& c : cases) {
    setElevationServiceAddress(fake.base(c.mode));
    TGPXtrk track;
    TGPXwptList waypoints, *a = track.Add(std::make_unique<TGPXtrkseg>()), *b = track.Add(std::make_unique<TGPXtrkseg>());
    for (TGPXwptList* l : {a, &waypoints}) addPoint(*l, 0, 5, 50), addPoint(*l, 45.01, 5, 9);
    for (TGPXwptList* l : {b, &waypoints}) addPoint(*l, 45.01, 5, 33), addPoint(*l, 45.02, 5);
    TAltitudeDownloadForm form;
    form.Track = &track;
    form.Waypoints = &waypoints;  // the track wins
    form.FormShow();
    EXPECT_EQ(text(&form, "lblTackSegment") + text(&form, "lblTrackPoints"), "Track Segments : 2Track points : 4");
    form.btnDownloadClick();
    EXPECT_EQ(elevations({a, b}), c.track) << c.mode;
    EXPECT_EQ(a->GetPoint(0)->ElePresent, c.track[0] == 0) << c.mode;  // a downloaded 0 is kept
    EXPECT_EQ(form.ElevationCredit, -6) << c.mode;  // three positions
    form.Track = nullptr;
    form.FormShow();
    form.btnDownloadClick();
    EXPECT_EQ(elevations({&waypoints}), c.waypoints) << c.mode;
  }
}

TEST(AltitudeDownload, AFailedBatchChargesItsPointsAndWritesNothing) {
  constexpr int32_t lowest = std::numeric_limits<int32_t>::min();
  struct Case { std::string mode; int32_t credit, after; std::string error; };
  const Case cases[] = {{"status500/", 0, -40, "HTTP request failed: The requested URL returned error: 500"},
                        {"endless/", lowest + 5, lowest, "The elevation service's answer is longer than 1 MiB"}};
  for (const Case& c : cases) {
    setElevationServiceAddress(FakeElevationService::instance().base(c.mode));
    TGPXwptList list, empty;
    for (int i = 0; i < 30; ++i) addPoint(list, 20 + i * 0.01, 5);
    TAltitudeDownloadForm form;
    form.Waypoints = &list;
    form.ElevationCredit = c.credit;
    form.FormShow();
    std::string error;
    try {
      form.btnDownloadClick();
    } catch (const THttpError& e) {
      error = e.what();
    }
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(form.ElevationCredit, c.after);  // the first batch of 20, never below the lowest
    EXPECT_EQ(elevations({&list}), std::vector<double>(30, 0.0));
    EXPECT_EQ(buttonStates(&form), "01-");
    form.Waypoints = &empty;
    form.FormShow();
    EXPECT_EQ(buttonStates(&form), "01-");
  }
}

// While the request waits, timers fire, and the close box, Escape and Cancel only ask for a
// Cancel that comes once the download has written its altitudes.
TEST(AltitudeDownload, StaysResponsiveAndDefersCancel) {
  auto& fake = FakeElevationService::instance();
  setElevationServiceAddress(fake.base("delay500/"));
  TGPXwptList list;
  addPoint(list, 30, 5);
  TAltitudeDownloadForm form;
  form.Waypoints = &list;
  int ticks = 0;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
  ticker.start(20);
  std::vector<bool> stillOpen;
  QTimer::singleShot(0, [&] { button(&form, "btnDownload")->click(); });
  QTimer::singleShot(150, [&] {
    form.close();  // the window manager's close box
    stillOpen.push_back(form.isVisible());
    QTest::keyClick(&form, Qt::Key_Escape);
    button(&form, "btnCancel")->click();
    stillOpen.push_back(form.isVisible() && list.GetPoint(0)->Ele == 0);
  });
  EXPECT_EQ(form.exec(), QDialog::Rejected);
  EXPECT_EQ(stillOpen, std::vector<bool>(2, true));
  EXPECT_EQ(list.GetPoint(0)->Ele, fake.srtm3(30));
  EXPECT_GE(ticks, 10);
}

class AltitudeCommandsTest : public WindowTest {
protected:
  // One track of one segment with the given elevations and times; the segment selected.
  TGPXtrkseg* addTrack(std::vector<double> eles, std::vector<double> times = {}) {
    auto* trk = form_->CurrentGPX->Tracks.Add(std::make_unique<TGPXtrk>());
    auto* seg = trk->Add(std::make_unique<TGPXtrkseg>());
    for (size_t i = 0; i < eles.size(); ++i) addPoint(*seg, 45, 5 + 0.01 * i, eles[i], times.empty() ? 0 : times[i]);
    form_->CurrentGPX->Selection.Clear();
    form_->CurrentGPX->Selection.Add(seg);
    return seg;
  }
};

TEST_F(AltitudeCommandsTest, ShiftAltitude) {
  struct Case { const char* typed; bool ok; std::vector<double> eles; std::string log, error; };  // !ok: Enter
  const Case cases[] = {
      {"10", true, {110, 10, 60}, "Applied a 10m altitude shift to the selected track segment", ""},
      {"-12.5", true, {87.5, -12.5, 37.5}, "Applied a -12.5m altitude shift to the selected track segment", ""},
      {"1,5", true, {100, 0, 50}, "", "'1,5' is not a valid floating point value"},
      {"10", false, {100, 0, 50}, "", ""},
  };
  for (const Case& c : cases) {
    TMainForm& f = form();
    TGPXtrkseg* seg = addTrack({100, 0, 50});
    auto* dialog = f.findChild<TShiftAltitudeForm*>("ShiftAltitudeForm");
    errors_.clear();
    QTimer::singleShot(0, [&] {
      dialog->edtAltitude->setText(c.typed);
      if (c.ok) button(dialog, "btnOK")->click();
      else QTest::keyClick(dialog->edtAltitude, Qt::Key_Return);
    });
    RunGuarded(&f, [&] { f.Shiftaltitude1Click(); });
    EXPECT_EQ(elevations({seg}), c.eles) << c.typed;
    EXPECT_EQ(seg->GetPoint(1)->ElePresent, !c.log.empty()) << c.typed;
    EXPECT_EQ(lastLog(), c.log) << c.typed;
    EXPECT_EQ(errors_.empty() ? "" : errors_[0], c.error);
    EXPECT_EQ(f.UndoList.size() + f.GPXModified, c.log.empty() ? 0u : 2u) << c.typed;  // undo copy, modified
  }
}

TEST_F(AltitudeCommandsTest, AnonymizeTimeStartsTheTracksOn1900) {
  TMainForm& f = form();
  const double base = encodeDateTime(1900, 1, 1);
  f.Anonymizetime1Click();  // no track: an undo copy, no line
  EXPECT_EQ(f.UndoList.size(), 1u);
  EXPECT_TRUE(log().empty());
  // A first point without time neither fixes the offset nor gets a time. Older tracks keep their
  // distances, across 1899-12-30 00:00 too, where a point (else no time) is put 1 ms later.
  TGPXtrkseg* a = addTrack({0, 0, 0}, {0, encodeDateTime(2008, 5, 1, 10), encodeDateTime(2008, 5, 1, 10, 30)});
  TGPXtrkseg* b = addTrack({0, 0}, {encodeDateTime(2008, 5, 2, 9), 0});
  TGPXtrkseg* c = addTrack({0, 0, 0}, {encodeDateTime(2008, 4, 27, 10), encodeDateTime(2008, 4, 27, 10, 0, 10),
                                       encodeDateTime(2008, 4, 27, 10, 0, 20)});
  TGPXtrkseg* d = addTrack({0, 0, 0}, {encodeDateTime(2008, 4, 29, 9, 59, 50), encodeDateTime(2008, 4, 29, 10),
                                       encodeDateTime(2008, 4, 29, 10, 0, 10)});
  f.Anonymizetime1Click();
  std::vector<std::string> times;
  for (double t : elevations({a, b, c, d}, true)) times.push_back(t == 0 ? "none" : DateTimeToGPXTime(t));
  EXPECT_EQ(times, (std::vector<std::string>{"none", "1900-01-01T00:00:00Z", "1900-01-01T00:30:00Z",
                                             "1900-01-01T23:00:00Z", "none", "1899-12-28T00:00:00Z",
                                             "1899-12-28T00:00:10Z", "1899-12-28T00:00:20Z", "1899-12-29T23:59:50Z",
                                             "1899-12-30T00:00:00.001Z", "1899-12-30T00:00:10Z"}));
  EXPECT_EQ(a->GetPoint(1)->Time, base);
  for (TGPXtrkseg* s : {c, d}) EXPECT_NEAR(GetDuration(s) * 86400, 20, 1e-6);
  EXPECT_EQ(log(), std::vector<std::string>(4, "All track time set to 1900-01-01"));
  EXPECT_EQ(f.UndoList.size(), 2u);
}

TEST_F(AltitudeCommandsTest, DownloadAllWaypointsAltitude) {
  auto& fake = FakeElevationService::instance();
  setElevationServiceAddress(fake.base());
  for (bool download : {false, true}) {
    TMainForm& f = form();
    f.ElevationCredit = 1000;
    addPoint(f.CurrentGPX->Waypoints, 40, 5, 3);
    auto* dialog = f.findChild<TAltitudeDownloadForm*>("AltitudeDownloadForm");
    QTimer::singleShot(0, [&] {
      if (download) button(dialog, "btnDownload")->click(), button(dialog, "btnOK")->click();
      else button(dialog, "btnCancel")->click();
    });
    f.Downloadallwaypointsaltitude1Click();
    EXPECT_EQ(f.CurrentGPX->Waypoints.GetPoint(0)->Ele, download ? fake.srtm3(40) : 3);
    EXPECT_EQ(f.ElevationCredit, download ? 998 : 1000);
    ASSERT_EQ(f.UndoList.size(), 1u);
    EXPECT_EQ(f.UndoList[0]->Waypoints.GetPoint(0)->Ele + f.GPXModified, 4);  // the old altitude, modified
  }
}

TEST_F(AltitudeCommandsTest, DownloadMapLogsTheQueryOfTheFittedView) {
  TMainForm& f = form();
  f.show();
  f.OpenGPXFile(writeTrack("t.gpx", "T", 3));  // 45 .. 45.02 north, 5 east
  f.Downloadmap1Click();
  const std::string prefix = "Downloading https://api.openstreetmap.org/api/0.6/map?bbox=";
  ASSERT_EQ(lastLog().rfind(prefix, 0), 0u) << lastLog();
  double box[4] = {};  // west, south, east, north
  const QStringList parts = QString::fromStdString(lastLog().substr(prefix.size())).split(',');
  for (int i = 0; i < 4 && i < parts.size(); ++i) ASSERT_TRUE(parseFloatStrict(parts[i].toStdString(), box[i])) << lastLog();
  EXPECT_TRUE(box[0] <= 5 && 5 <= box[2] && box[1] <= 45 && 45.02 <= box[3]) << lastLog();
  EXPECT_TRUE(f.UndoList.empty());
}
