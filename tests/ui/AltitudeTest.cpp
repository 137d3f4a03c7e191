// The altitude download dialog against the fake service, and the Edit menu's altitude and
// time commands.
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "../platform/FakeElevationService.h"
#include "WindowFixture.h"
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

std::vector<double> elevations(const std::vector<TGPXwptList*>& lists) {
  std::vector<double> out;
  for (auto* l : lists)
    for (int i = 0; i < l->Count(); ++i) out.push_back(l->GetPoint(i)->Ele);
  return out;
}

// The number of points in each batch the service was asked for.
std::vector<size_t> batchSizes(const std::vector<std::string>& log) {
  std::vector<size_t> sizes;
  for (const std::string& line : log) {
    const size_t from = line.find("lats="), to = line.find("&lngs=");
    if (from != std::string::npos) sizes.push_back(std::count(line.begin() + from, line.begin() + to, ',') + 1);
  }
  return sizes;
}

}  // namespace

TEST(AltitudeDownload, FortyFiveDistinctPointsInBatchesOf20) {
  auto& fake = FakeElevationService::instance();
  setElevationServiceAddress(fake.base());
  TGPXwptList list;
  for (int i = 0; i < 45; ++i) addPoint(list, 10 + i * 0.01, 5, i == 3 ? 8 : 0);
  addPoint(list, 10, 5, 7);  // shares the first position: asked for once
  TGPXOptions options;
  TAltitudeDownloadForm form;
  form.Waypoints = &list;
  form.Options = &options;
  form.ElevationCredit = 100;
  form.FormShow();
  EXPECT_EQ(text(&form, "lblTrackPoints"), "Waypoints : 46");
  EXPECT_EQ(text(&form, "lblPointWithoutAltitude"), "Point without altitude : 44");
  EXPECT_TRUE(form.findChild<QLabel*>("lblTackSegment")->isHidden());
  EXPECT_EQ(form.findChild<QProgressBar*>("pbDownload")->value(), 1000 - 44 * 1000 / 46);
  fake.takeLog();
  form.btnDownloadClick();
  EXPECT_EQ(batchSizes(fake.takeLog()), (std::vector<size_t>{20, 20, 5}));
  EXPECT_EQ(form.ElevationCredit, 10);
  EXPECT_EQ(text(&form, "lblGeoCredit"), "Geonames credit : 10");
  EXPECT_EQ(text(&form, "lblPointWithoutAltitude"), "Point without altitude : 0");
  for (int i = 0; i < list.Count(); ++i)
    EXPECT_EQ(list.GetPoint(i)->Ele, fake.srtm3(list.GetPoint(i)->Lat)) << i;
  EXPECT_TRUE(button(&form, "btnDownload")->isHidden());
  EXPECT_FALSE(button(&form, "btnOK")->isHidden());
  EXPECT_FALSE(button(&form, "btnCancel")->isEnabled());
}

TEST(AltitudeDownload, WritesBackOnlyWhatTheServiceAnswered) {
  auto& fake = FakeElevationService::instance();
  const double s1 = fake.srtm3(45.01), s2 = fake.srtm3(45.02);
  struct Case {
    std::string mode;
    std::vector<double> track, waypoints;  // elevations after the download
  } cases[] = {
      // Latitude 0 answers 0: a track point takes it, a waypoint keeps its altitude.
      {"", {0, s1, s1, s2}, {50, s1, s1, s2}},
      // No value for 45.01: neither point there gets the other's old altitude.
      {"garbage/", {0, 9, 33, s2}, {50, 9, 33, s2}},
      {"short/", {0, s1, s1, 0}, {50, s1, s1, 0}},
      {"nodata/", {50, 9, 33, 0}, {50, 9, 33, 0}},
  };
  for (const Case& c : cases) {
    setElevationServiceAddress(fake.base(c.mode));
    TGPXtrk track;
    auto* a = track.Add(std::make_unique<TGPXtrkseg>());
    auto* b = track.Add(std::make_unique<TGPXtrkseg>());
    TGPXwptList waypoints;
    for (TGPXwptList* l : {static_cast<TGPXwptList*>(a), &waypoints}) addPoint(*l, 0, 5, 50), addPoint(*l, 45.01, 5, 9);
    for (TGPXwptList* l : {static_cast<TGPXwptList*>(b), &waypoints}) addPoint(*l, 45.01, 5, 33), addPoint(*l, 45.02, 5);
    TAltitudeDownloadForm form;
    form.Track = &track;
    form.Waypoints = &waypoints;  // the track wins
    form.FormShow();
    EXPECT_EQ(text(&form, "lblTackSegment"), "Track Segments : 2");
    EXPECT_EQ(text(&form, "lblTrackPoints"), "Track points : 4");
    form.btnDownloadClick();
    EXPECT_EQ(elevations({a, b}), c.track) << c.mode;
    EXPECT_EQ(form.ElevationCredit, -6) << c.mode;  // three positions

    form.Track = nullptr;
    form.FormShow();
    form.btnDownloadClick();
    EXPECT_EQ(elevations({&waypoints}), c.waypoints) << c.mode;
  }
}

TEST(AltitudeDownload, AFailedBatchChargesItsPointsAndWritesNothing) {
  auto& fake = FakeElevationService::instance();
  setElevationServiceAddress(fake.base("status500/"));
  TGPXwptList list;
  for (int i = 0; i < 30; ++i) addPoint(list, 20 + i * 0.01, 5);
  TAltitudeDownloadForm form;
  form.Waypoints = &list;
  form.FormShow();
  EXPECT_THROW(form.btnDownloadClick(), THttpError);
  EXPECT_EQ(form.ElevationCredit, -40);
  EXPECT_EQ(elevations({&list}), std::vector<double>(30, 0.0));
  EXPECT_FALSE(button(&form, "btnDownload")->isEnabled());
  EXPECT_TRUE(button(&form, "btnCancel")->isEnabled());
  EXPECT_TRUE(button(&form, "btnOK")->isHidden());

  TGPXwptList empty;
  form.Waypoints = &empty;
  form.FormShow();
  EXPECT_FALSE(button(&form, "btnDownload")->isEnabled());
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
    form.close();
    stillOpen.push_back(form.isVisible());
    QTest::keyClick(&form, Qt::Key_Escape);
    stillOpen.push_back(form.isVisible());
    button(&form, "btnCancel")->click();
    stillOpen.push_back(form.isVisible());
    stillOpen.push_back(list.GetPoint(0)->Ele == 0);
  });
  EXPECT_EQ(form.exec(), QDialog::Rejected);
  EXPECT_EQ(stillOpen, std::vector<bool>(4, true));
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
  struct Case {
    const char* typed;
    bool ok;  // OK, else Enter, which cancels
    std::vector<double> eles;
    std::string log, error;
  } cases[] = {
      {"10", true, {110, 10, 60}, "Applied a 10m altitude shift to the selected track segment", ""},
      {"-12.5", true, {87.5, -12.5, 37.5}, "Applied a -12.5m altitude shift to the selected track segment", ""},
      {"1,5", true, {100, 0, 50}, "", "'1,5' is not a valid floating point value"},
      {"10", false, {100, 0, 50}, "", ""},
  };
  for (const Case& c : cases) {
    TMainForm& f = form();
    errors_.clear();
    TGPXtrkseg* seg = addTrack({100, 0, 50});
    auto* dialog = f.findChild<TShiftAltitudeForm*>("ShiftAltitudeForm");
    QTimer::singleShot(0, [&] {
      dialog->edtAltitude->setText(c.typed);
      if (c.ok) button(dialog, "btnOK")->click();
      else QTest::keyClick(dialog->edtAltitude, Qt::Key_Return);
    });
    RunGuarded(&f, [&] { f.Shiftaltitude1Click(); });
    EXPECT_EQ(elevations({seg}), c.eles) << c.typed;
    EXPECT_EQ(lastLog(), c.log) << c.typed;
    EXPECT_EQ(errors_, c.error.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.error});
    EXPECT_EQ(f.UndoList.size(), c.log.empty() ? 0u : 1u) << c.typed;
    EXPECT_EQ(f.GPXModified, !c.log.empty()) << c.typed;
  }
}

TEST_F(AltitudeCommandsTest, AnonymizeTimeStartsTheTracksOn1900) {
  TMainForm& f = form();
  const double base = encodeDateTime(1900, 1, 1);
  f.Anonymizetime1Click();  // no track: an undo copy, no line
  EXPECT_EQ(f.UndoList.size(), 1u);
  EXPECT_TRUE(log().empty());
  // A first point without time neither fixes the offset nor gets a time.
  TGPXtrkseg* a = addTrack({0, 0, 0}, {0, encodeDateTime(2008, 5, 1, 10), encodeDateTime(2008, 5, 1, 10, 30)});
  TGPXtrkseg* b = addTrack({0, 0}, {encodeDateTime(2008, 5, 2, 9), 0});
  f.Anonymizetime1Click();
  auto ms = [](double t) { return std::llround(t * 86400000); };  // to the millisecond
  std::vector<long long> times;
  for (auto* s : {a, b})
    for (int i = 0; i < s->Count(); ++i) times.push_back(ms(s->GetPoint(i)->Time));
  EXPECT_EQ(times, (std::vector<long long>{0, ms(base), ms(encodeDateTime(1900, 1, 1, 0, 30)),
                                           ms(encodeDateTime(1900, 1, 1, 23)), 0}));
  EXPECT_EQ(log(), std::vector<std::string>(2, "All track time set to 1900-01-01"));
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
    EXPECT_EQ(f.UndoList[0]->Waypoints.GetPoint(0)->Ele, 3);
    EXPECT_TRUE(f.GPXModified);
  }
}
