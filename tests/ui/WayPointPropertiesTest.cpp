// The waypoint dialog: typed coordinates, the numeric fields' unset values, the time
// controls, the link and elevation buttons; and Properties in the main window: OK replaces
// the point with one undo step, Cancel and an untouched OK change nothing.
#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include "../platform/FakeElevationService.h"
#include "EditFixture.h"
#include "base/DateTime.h"
#include "base/LocaleFormats.h"
#include "formats/GPXFile.h"
#include "formats/GPXWriter.h"
#include "platform/ElevationService.h"
#include "ui/ElevationRequests.h"
#include "ui/SystemLocaleFormats.h"
#include "ui/dialogs/WayPointProperties.h"

namespace {

class CommaLocale : public LocaleFormats {
  std::string decimalSeparator() const override { return ","; }
};

class WayPointDialog : public ::testing::Test {
protected:
  void SetUp() override { errorBoxFunction() = [this](QWidget*, const QString& m) { errors_.push_back(m.toStdString()); }; }
  void TearDown() override { dialog_.hide(); }
  // Shows the dialog on the point, as the main window does.
  void open(TGPXwpt& point) {
    dialog_.hide();  // each showing fills the controls anew
    dialog_.SetPoint(&point);
    dialog_.show();
  }
  template <class T = QLineEdit>
  T* find(const char* name) {
    auto* w = dialog_.findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  void type(const char* edit, const char* text) { find(edit)->setText(text); }
  void press(const char* button) { find<QAbstractButton>(button)->click(); }

  TWayPointPropertiesForm dialog_;
  std::vector<std::string> errors_;
};

TEST(CoordinateText, ReadsNumbersLettersAndTheShownForm) {
  struct Case {
    const char* text;
    const char* negative;
    bool comma;  // the locale's decimal separator is ','
    bool ok;
    double value;
  } cases[] = {
      {"45.500000\xC2\xB0 N", "S", false, true, 45.5},
      {"45.500000\xC2\xB0 S", "S", false, true, -45.5},
      {" 12.5s ", "S", false, true, -12.5},
      {"-12.5", "S", false, true, -12.5},
      {"7", "W", false, true, 7},
      {"6.25\xC2\xB0 \xD0\x97", "\xD0\x97", false, true, -6.25},  // a Cyrillic letter
      {"6.25 \xD0\xB7", "\xD0\x97", false, true, -6.25},
      {"12,5", "S", false, false, 0},
      {"12,5", "S", true, true, 12.5},
      {"", "S", false, false, 0},
      {"N", "S", false, false, 0},
      {"abc", "S", false, false, 0},
  };
  for (const Case& c : cases) {
    if (c.comma) setLocaleFormats(std::make_unique<CommaLocale>());
    double v = 0;
    EXPECT_EQ(parseCoordinateText(QString::fromUtf8(c.text), QString::fromUtf8(c.negative), v), c.ok) << c.text;
    if (c.ok) {
      EXPECT_DOUBLE_EQ(v, c.value) << c.text;
    }
    setLocaleFormats(nullptr);
  }
}

TEST_F(WayPointDialog, AppliedCoordinatesAndAltitude) {
  TGPXwpt p;
  p.Lat = -33.25;
  p.Lon = -70.5;
  p.Ele = 512;
  open(p);
  // The shown texts, applied untouched, give the same place.
  press("sbLatitude");
  press("sbLongitude");
  press("sbAltitude");
  EXPECT_EQ(p.Lat, -33.25);
  EXPECT_EQ(p.Lon, -70.5);
  EXPECT_EQ(p.Ele, 512);
  struct Step {
    const char* edit;
    const char* button;
    const char* text;
    double lat, lon, ele;
  } steps[] = {
      {"edtLatitude", "sbLatitude", "95", -33.25, -70.5, 512},  // off the globe
      {"edtLongitude", "sbLongitude", "180", -33.25, -70.5, 512},
      {"edtLatitude", "sbLatitude", "", -33.25, -70.5, 512},
      {"edtAltitude", "sbAltitude", "", -33.25, -70.5, 512},
      {"edtLatitude", "sbLatitude", "48.186895391", 48.186895391, -70.5, 512},
      {"edtLatitude", "sbLatitude", "10.5 n", 10.5, -70.5, 512},
      {"edtLongitude", "sbLongitude", "-179.5", 10.5, -179.5, 512},
      {"edtAltitude", "sbAltitude", "-3.5", 10.5, -179.5, -3.5},
      {"edtAltitude", "sbAltitude", "-99999", 10.5, -179.5, -3.5},  // the no-number value
      {"edtAltitude", "sbAltitude", "0", 10.5, -179.5, 0},  // no elevation any more
  };
  for (const Step& s : steps) {
    type(s.edit, s.text);
    press(s.button);
    EXPECT_EQ(p.Lat, s.lat) << s.text;
    EXPECT_EQ(p.Lon, s.lon) << s.text;
    EXPECT_EQ(p.Ele, s.ele) << s.text;
  }
  EXPECT_FALSE(p.ElePresent);
  EXPECT_EQ(find<QLabel>("lblAltitude")->text(), "None");
  EXPECT_EQ(find("edtAltitude")->text(), "");
}

TEST_F(WayPointDialog, NumericFieldsStoreTheirUnsetValues) {
  TGPXwpt p;
  open(p);
  struct Case {
    const char* edit;
    const char* text;
    double expected;
    double (*field)(const TGPXwptData&);
  } cases[] = {
      {"edtWPSat", "12", 12, [](const TGPXwptData& d) { return double(d.sat); }},
      {"edtWPSat", "300", 255, [](const TGPXwptData& d) { return double(d.sat); }},
      {"edtWPSat", "-1", 255, [](const TGPXwptData& d) { return double(d.sat); }},
      {"edtWPSat", "ab", 255, [](const TGPXwptData& d) { return double(d.sat); }},
      {"edtWPhdop", "2.5", 2.5, [](const TGPXwptData& d) { return d.hdop; }},
      {"edtWPhdop", "", -1, [](const TGPXwptData& d) { return d.hdop; }},
      {"edtWPvdop", "-3", -1, [](const TGPXwptData& d) { return d.vdop; }},
      {"edtWPpdop", "1,5", -1, [](const TGPXwptData& d) { return d.pdop; }},
      {"edtWPageofdata", "4", 4, [](const TGPXwptData& d) { return d.ageofdgpsdata; }},
      {"edtWPdgpsid", "1023", 1023, [](const TGPXwptData& d) { return double(d.dgpsid); }},
      {"edtWPdgpsid", "1024", -1, [](const TGPXwptData& d) { return double(d.dgpsid); }},
  };
  for (const Case& c : cases) {
    type(c.edit, c.text);
    EXPECT_EQ(c.field(p.data()), c.expected) << c.edit << " " << c.text;
  }
  // A point without these values shows none of the last point's.
  TGPXwpt other;
  other.edit().fix = "DGPS";  // only lower-case first letters select an entry
  open(other);
  for (const char* edit : {"edtWPSat", "edtWPhdop", "edtWPdgpsid", "edtWPageofdata"})
    EXPECT_EQ(find(edit)->text(), "") << edit;
  EXPECT_TRUE(find<QRadioButton>("rgWPtype_none")->isChecked());
  EXPECT_EQ(other.data().fix, "DGPS");
}

TEST_F(WayPointDialog, TimeControlsFollowTheirRules) {
  TGPXwpt p;
  p.Time = encodeDateTime(2024, 3, 17, 14, 3, 59, 250);
  open(p);
  auto* cbDate = find<QCheckBox>("cbDate");
  auto* cbTime = find<QCheckBox>("cbTime");
  EXPECT_TRUE(cbDate->isChecked());
  EXPECT_TRUE(cbTime->isChecked());
  press("cbTime");  // the date stays, at midnight
  EXPECT_EQ(p.Time, encodeDateTime(2024, 3, 17));
  EXPECT_FALSE(find<QTimeEdit>("dtpTime")->isEnabled());
  press("cbDate");  // no time at all
  EXPECT_EQ(p.Time, 0);
  EXPECT_FALSE(cbTime->isEnabled());
  EXPECT_EQ(find<QLabel>("lblTime")->text(), "None");

  // A point without time gets one only when a picker changes.
  TGPXwpt q;
  open(q);
  EXPECT_FALSE(cbDate->isChecked());
  EXPECT_FALSE(cbTime->isChecked());  // nothing left from the last showing
  press("cbDate");
  EXPECT_EQ(q.Time, 0);
  find<QDateEdit>("dtpDate")->setDate(QDate(2023, 5, 1));
  EXPECT_EQ(q.Time, encodeDateTime(2023, 5, 1));
  press("cbTime");
  find<QTimeEdit>("dtpTime")->setTime(QTime(8, 30, 0));
  EXPECT_EQ(q.Time, encodeDateTime(2023, 5, 1, 8, 30));
  find<QDateEdit>("dtpDate")->setDate(QDate(2023, 5, 2));
  EXPECT_EQ(q.Time, encodeDateTime(2023, 5, 2, 8, 30));
}

TEST_F(WayPointDialog, DatesKeepTheirCenturyInEveryLanguage) {
  const int century = decodeDateTime(nowLocal()).year / 100 * 100;
  struct Case { const char* locale; const char* shown; const char* label; const char* typed; int year; } cases[] = {
      {"de_DE", "13.01.2023", "13.01.2023 02:03:00", "24", century + 24},
      {"de_DE", "13.01.2023", "13.01.2023 02:03:00", "1987", 1987},
      {"en_US", "1/13/2023", "1/13/2023 2:03:00 AM", "00", century},  // shown as 0000 while typed
      {"hu_HU", "2023. 01. 13.", "2023. 01. 13. 2:03:00", "24", century + 24},  // Tab: on to the month
      {"ca_ES", "13/1/2023", "13/1/2023 2:03:00", "99", century + 99},  // es_ES alike
  };
  for (const Case& c : cases) {
    dialog_.setLocale(QLocale(c.locale));
    setLocaleFormats(std::make_unique<SystemLocaleFormats>(QLocale(c.locale)));
    TGPXwpt p;
    p.Time = encodeDateTime(2023, 1, 13, 2, 3);
    open(p);
    auto* picker = find<QDateEdit>("dtpDate");
    EXPECT_EQ(picker->text(), c.shown) << c.locale;
    EXPECT_EQ(find<QLabel>("lblTime")->text().toStdString(), c.label);
    QApplication::setActiveWindow(&dialog_);
    picker->setFocus();
    picker->setSelectedSection(QDateTimeEdit::YearSection);
    QTest::keyClicks(picker, c.typed);
    QTest::keyClick(picker, Qt::Key_Tab);
    EXPECT_EQ(p.Time, encodeDateTime(c.year, 1, 13, 2, 3)) << c.locale << " " << c.typed;
  }
  setLocaleFormats(nullptr);
}

TEST_F(WayPointDialog, LinkOpensOnlyWebAndMailAddresses) {
  std::vector<QString> opened;
  dialog_.OpenLink = [&](const QUrl& url) { opened.push_back(url.toString()); };
  TGPXwpt p;
  open(p);
  for (const char* href : {"http://example.org/a", "HTTPS://example.org", "mailto:a@example.org",
                           "ftp://example.org/f", "file:///etc/passwd", "javascript:alert(1)",
                           "/usr/bin/xterm", "ftp:"})
  {
    type("edtWPLinkURL", href);
    press("btnOpenLink");
  }
  EXPECT_EQ(opened.size(), 4u);
  EXPECT_TRUE(p.data().link.Present);
}

TEST_F(WayPointDialog, CancelDuringAnElevationRequestWaitsForItsEnd) {
  setElevationServiceAddress(FakeElevationService::instance().base("delay500/"));
  dialog_.QueryElevation = [](double lat, double lon) {
    int32_t credit = 0;
    return QueryPointElevation(TGPXOptions{}, lat, lon, credit);
  };
  TGPXwpt p;
  p.Lat = 30;
  std::vector<bool> openDuringRequest;
  QTimer::singleShot(0, [&] { press("sbDownloadAltitudeData"); });
  QTimer::singleShot(150, [&] {
    dialog_.close();  // the window manager's close box
    QTest::keyClick(&dialog_, Qt::Key_Escape);
    QTest::keyClick(&dialog_, Qt::Key_Return);  // Cancel is the default button
    openDuringRequest = {dialog_.isVisible(), find<QPushButton>("btnOK")->isEnabled()};
  });
  dialog_.SetPoint(&p);
  EXPECT_EQ(dialog_.exec(), QDialog::Rejected);
  EXPECT_EQ(openDuringRequest, (std::vector<bool>{true, false}));
  EXPECT_EQ(p.Ele, FakeElevationService::srtm3(30));

  // A failed request, or an answer out of range, leaves the dialog usable and the altitude
  // as it was.
  for (const std::string mode : {"status500/", "endless/", "absurd/"}) {
    open(p);
    p.Ele = 7;
    errors_.clear();
    setElevationServiceAddress(FakeElevationService::instance().base(mode));
    press("sbDownloadAltitudeData");
    EXPECT_EQ(errors_.size(), mode == "absurd/" ? 0u : 1u) << mode;
    if (mode == "endless/") {
      EXPECT_EQ(errors_.at(0), "The elevation service's answer is longer than 1 MiB");
    }
    EXPECT_TRUE(dialog_.isVisible());
    EXPECT_TRUE(find<QPushButton>("btnOK")->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(p.Ele, 7) << mode;
  }
}

TEST_F(WayPointDialog, OkRefusesExtensionTextThatIsNoXml) {
  TGPXwpt p;
  open(p);
  find<QPlainTextEdit>("mExtensions")->setPlainText("<a>unclosed");
  press("btnOK");
  EXPECT_TRUE(dialog_.isVisible());
  EXPECT_TRUE(find<QLabel>("lblExtensionsError")->isVisibleTo(&dialog_));
  find<QPlainTextEdit>("mExtensions")->setPlainText("<a>closed</a>");
  press("btnOK");
  EXPECT_EQ(dialog_.result(), QDialog::Accepted);
}

// ---- Properties in the main window ----

class PropertiesCommand : public EditFixture {
protected:
  // Opens the document from GPX text into the fixture's document.
  void loadText(const std::string& body) {
    TGPXFile file;
    file.GPX = gpx_;
    file.LoadFromString("<gpx version=\"1.1\" creator=\"t\" xmlns=\"http://www.topografix.com/GPX/1/1\">" +
                        body + "</gpx>");
    load();
  }
  // The dialog shown and ended with `button` after `edit` ran on it.
  void answer(const char* button, std::function<void(QDialog*)> edit = {}) {
    form_->ShowDialog = [=, this](QDialog* d) {
      ++shown_;
      d->show();
      if (edit) edit(d);
      d->findChild<QPushButton*>(button)->click();
      return d->result();
    };
  }
  std::string written() const { return TGPXWriter().WriteDocument(*form_->CurrentGPX); }
  int shown_ = 0;
};

TEST_F(PropertiesCommand, OkWithoutChangesLeavesThePointAsItWas) {
  loadText(
      "<wpt lat=\"-12.345678912\" lon=\"-0.000001\"><ele>0.25</ele><time>2024-03-17T14:03:59.123Z</time>"
      "<magvar>3</magvar><geoidheight>-2</geoidheight><name>A &amp; B</name><cmt>c</cmt><desc>d</desc>"
      "<src>s</src><link href=\"http://x\"><text>t</text></link><sym>Flag</sym><type>ty</type>"
      "<fix>DGPS</fix><sat>0</sat><hdop>0</hdop><pdop>1E-5</pdop><ageofdgpsdata>2</ageofdgpsdata>"
      "<dgpsid>7</dgpsid><extensions><g:x xmlns:g=\"urn:g\">1</g:x></extensions></wpt>"
      "<wpt lat=\"1\" lon=\"11.858545868\"><ele>0</ele></wpt>");
  for (int i = 0; i < 2; ++i) {
    const std::string before = written();
    select({gpx_->Waypoints.GetPoint(i)});
    answer("btnOK", [](QDialog* d) {  // the coordinates' texts applied untouched keep every decimal
      for (const char* b : {"sbLatitude", "sbLongitude"}) d->findChild<QToolButton*>(b)->click();
    });
    action("Properties1")->trigger();
    EXPECT_EQ(shown_, i + 1);
    EXPECT_EQ(written(), before) << i;
  }
  EXPECT_EQ(form_->UndoList.size(), 2u);
}

TEST_F(PropertiesCommand, OkReplacesThePointWithOneUndoStepAndCancelChangesNothing) {
  loadText("<wpt lat=\"1\" lon=\"2\"><name>a</name></wpt><wpt lat=\"3\" lon=\"4\"><name>b</name></wpt>");
  TGPXwpt* b = gpx_->Waypoints.GetPoint(1);
  select({b});
  const std::string before = written();
  answer("btnCancel", [](QDialog* d) { d->findChild<QLineEdit*>("edtWPName")->setText("changed"); });
  action("Properties1")->trigger();
  EXPECT_EQ(written(), before);
  EXPECT_TRUE(form_->UndoList.empty());
  EXPECT_FALSE(form_->GPXModified);

  // The tree's double-click opens it as well.
  answer("btnOK", [](QDialog* d) { d->findChild<QLineEdit*>("edtWPName")->setText("c"); });
  emit form_->findChild<QTreeWidget*>("tvItems")->itemDoubleClicked(nullptr, 0);
  ASSERT_EQ(gpx_->Waypoints.Count(), 2);
  TGPXwpt* edited = gpx_->Waypoints.GetPoint(1);
  EXPECT_EQ(edited->data().name, "c");
  EXPECT_EQ(form_->UndoList.size(), 1u);
  EXPECT_TRUE(form_->GPXModified);
  EXPECT_EQ(gpx_->Selection.Items, std::vector<TItem*>{edited});
  form_->ActionUndoExecute();
  EXPECT_EQ(written(), before);

  // Called from a view of the list (the point grid), the list stays selected.
  TGPX& restored = *form_->CurrentGPX;
  answer("btnOK");
  EXPECT_TRUE(form_->EditWayPointProperties(restored.Waypoints.GetPoint(0), &restored.Waypoints));
  EXPECT_EQ(restored.Selection.Items, std::vector<TItem*>{&restored.Waypoints});
}

TEST_F(PropertiesCommand, RoutePointIsEditedInItsRoute) {
  loadText("<wpt lat=\"1\" lon=\"2\"/><rte><name>R</name><rtept lat=\"5\" lon=\"6\"/>"
           "<rtept lat=\"5.1\" lon=\"6.1\"/></rte>");
  TGPXrte* r = gpx_->Routes.GetRoute(0);
  select({r->GetPoint(1)});
  answer("btnOK", [](QDialog* d) { d->findChild<QLineEdit*>("edtWPSymbol")->setText("Pin"); });
  // The preview's middle-click runs Properties on the selection.
  click(at(*r->GetPoint(1)), Qt::NoModifier, Qt::MiddleButton);
  EXPECT_EQ(shown_, 1);
  EXPECT_EQ(gpx_->Waypoints.Count(), 1);
  ASSERT_EQ(r->Count(), 2);
  EXPECT_EQ(static_cast<TGPXwpt*>(r->GetPoint(1))->data().sym, "Pin");
  EXPECT_EQ(gpx_->Selection.Items, std::vector<TItem*>{r});
}

TEST_F(PropertiesCommand, ElevationButtonAsksTheServiceAndChargesTheCredit) {
  setElevationServiceAddress(FakeElevationService::instance().base());
  loadText("<wpt lat=\"45\" lon=\"6.25\"/>");
  select({gpx_->Waypoints.GetPoint(0)});
  const int32_t credit = form_->ElevationCredit;
  answer("btnOK", [](QDialog* d) { d->findChild<QToolButton*>("sbDownloadAltitudeData")->click(); });
  action("Properties1")->trigger();
  const TGPXwpt* p = gpx_->Waypoints.GetPoint(0);
  EXPECT_EQ(p->Ele, FakeElevationService::srtm3(45));
  EXPECT_TRUE(p->ElePresent);
  EXPECT_EQ(form_->ElevationCredit, credit - 2);
}

}  // namespace
