// The route, track and metadata dialogs opened from the window, and the About box.
#include <functional>

#include <QCheckBox>
#include <QDateEdit>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QUrl>

#include "EditFixture.h"
#include "formats/GPXWriter.h"
#include "platform/ProgramVersion.h"
#include "ui/dialogs/AboutForm.h"
#include "ui/dialogs/AltitudeDownload.h"
#include "ui/dialogs/MetaProperties.h"
#include "ui/dialogs/TrackProperties.h"

namespace {

class ItemProperties : public EditFixture {
protected:
  // Every showing runs as the user would: the dialog shows (and fills), `act` plays the user,
  // then OK or Cancel is clicked.
  void answer(bool ok, std::function<void(QDialog*)> act = {}) {
    form_->ShowDialog = [this, ok, act](QDialog* d) {
      if (auto* f = qobject_cast<TAltitudeDownloadForm*>(d)) return download_(f);
      d->show();
      QApplication::processEvents();
      if (act) act(d);
      if (auto* b = d->findChild<QPushButton*>(ok ? "btnOK" : "btnCancel")) b->click();
      d->hide();
      return d->result();
    };
  }
  // The document as saved, and the flags a file does not hold.
  std::string state() {
    std::string s = TGPXWriter(false, true).WriteDocument(*gpx_);
    for (int t = 0; t < gpx_->Tracks.Count(); ++t) {
      TGPXtrk* trk = gpx_->Tracks.At(t);
      s += trk->Visible ? "T" : "t";
      for (int i = 0; i < trk->Count(); ++i)
        for (int p = 0; p < trk->At(i)->Count(); ++p) s += trk->At(i)->GetPoint(p)->Visible ? "P" : "p";
    }
    for (int r = 0; r < gpx_->Routes.Count(); ++r) s += gpx_->Routes.At(r)->Visible ? "R" : "r";
    return s;
  }
  // Stands in for the altitude download dialog opened from the track dialog.
  std::function<int(TAltitudeDownloadForm*)> download_;
  template <class W>
  static W* child(QDialog* d, const char* name) {
    auto* w = d->findChild<W*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
};

TEST_F(ItemProperties, OpenThenOkChangesNothing) {
  form_->OpenGPXFile(std::string(CORVANTEL_TEST_DATA) + "/writer_full.gpx");
  gpx_->Tracks.At(0)->At(0)->GetPoint(0)->Visible = false;
  gpx_->Routes.At(0)->Visible = false;
  const std::string before = state();
  answer(true);
  // Each edit replaces its item: the next is looked up afresh.
  const std::function<TItem*()> items[] = {[&] { return gpx_->Routes.At(0); }, [&] { return gpx_->Tracks.At(0); },
                                           [&] { return gpx_->Tracks.At(0)->At(1); }, [&] { return &gpx_->Metadata; }};
  for (const auto& item : items) {
    select({item()});
    form_->Properties1Click();
    EXPECT_EQ(state(), before) << int(item()->Kind());
  }
  EXPECT_EQ(form_->UndoList.size(), 4u);
}

TEST_F(ItemProperties, SegmentOpensItsTrackAndIsSelectedAgain) {
  TGPXtrk* t = addTrack("T");
  addSegment(t, 45, 3);
  addSegment(t, 46, 3);
  load();
  select({t->At(1)});
  answer(true, [](QDialog* d) {
    EXPECT_EQ(d->objectName(), "TrackPropertiesForm");
    child<QLineEdit>(d, "edtRouteName")->setText("Renamed");
  });
  form_->Properties1Click();
  TGPXtrk* edited = gpx_->Tracks.At(0);
  EXPECT_EQ(edited->name, "Renamed");
  // The default colour shown is not taken into a style that had none.
  EXPECT_TRUE(edited->Style.IsColorUnset());
  ASSERT_EQ(gpx_->Selection.Count(), 1);
  EXPECT_EQ(gpx_->Selection.At(0), edited->At(1));
  EXPECT_EQ(form_->PreviewDraw->CurrentList, edited->At(1));
  answer(false);  // Cancel keeps it the list the graph and the tools act on
  form_->Properties1Click();
  EXPECT_EQ(form_->PreviewDraw->CurrentList, edited->At(1));
}

TEST_F(ItemProperties, RouteFieldsAndStyle) {
  TGPXrte* r = addRoute("R", 45, 3);
  r->number = 7;
  load();
  form_->PreviewDraw->Options.RouteColor = 0x123456;
  select({r});
  int asked = 0;
  answer(true, [&](QDialog* d) {
    auto* f = static_cast<TRoutePropertiesForm*>(d);
    f->AskColor = [&](QWidget*, uint32_t initial) -> std::optional<uint32_t> {
      EXPECT_EQ(initial, 0x123456u);
      ++asked;
      return std::nullopt;
    };
    EXPECT_EQ(child<QLineEdit>(d, "edtRouteNumber")->text(), "7");
    child<QLineEdit>(d, "edtRouteNumber")->setText("abc");
    // A cancelled colour dialog still gives the style the colour shown.
    child<QPushButton>(d, "pRouteLineColor")->click();
    struct { int position; const char* text; QColor color; } slider[] = {
        {5, "0.05", Qt::red}, {15, "0.15", QColor(128, 0, 0)}, {100, "1", d->palette().color(QPalette::WindowText)}};
    for (const auto& s : slider) {
      child<QSlider>(d, "tbOpacity")->setValue(s.position);
      auto* label = child<QLabel>(d, "lblOpacityValue");
      EXPECT_EQ(label->text(), s.text);
      EXPECT_EQ(label->palette().color(QPalette::WindowText), s.color) << s.position;
    }
    child<QCheckBox>(d, "cbEnabled")->click();
  });
  form_->Properties1Click();
  TGPXrte* edited = gpx_->Routes.At(0);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(edited->number, -1);
  EXPECT_EQ(edited->Style.Color, 0x123456u);
  EXPECT_EQ(edited->Style.Opacity, 1.0);
  EXPECT_FALSE(edited->Visible);
  EXPECT_FALSE(edited->GetPoint(2)->Visible);
}

TEST_F(ItemProperties, TrackEnabledTelemetryAndDownloadCredit) {
  TGPXtrk* t = addTrack("T");
  addSegment(t, 45, 2);
  addSegment(t, 46, 2);
  load();
  form_->ElevationCredit = 1000;
  struct { bool ok; int32_t credit; double ele; bool visible; } cases[] = {{false, 990, 0, true}, {true, 980, 7, false}};
  for (const auto& c : cases) {
    select({gpx_->Tracks.At(0)});
    // The download writes the copy's altitudes and spends credit, as the web service would.
    download_ = [this](TAltitudeDownloadForm* f) {
      EXPECT_EQ(f->Options, &form_->GPXOptions);
      f->Track->At(0)->GetPoint(0)->Ele = 7;
      f->ElevationCredit -= 10;
      return 0;
    };
    answer(c.ok, [](QDialog* d) {
      child<QPushButton>(d, "Button5")->click();
      child<QCheckBox>(d, "cbEnabled")->click();
      child<QPushButton>(d, "btnAddTelemetryInfo")->click();
    });
    form_->Properties1Click();
    const TGPXtrk* now = gpx_->Tracks.At(0);
    // The credit spent comes back whether or not the dialog ends with OK.
    EXPECT_EQ(form_->ElevationCredit, c.credit);
    EXPECT_EQ(now->At(0)->GetPoint(0)->Ele, c.ele);
    EXPECT_EQ(now->At(1)->GetPoint(1)->Visible, c.visible);
    EXPECT_EQ(now->cmt.rfind("Track #0 :", 0) == 0, c.ok) << now->cmt;
  }
}

TEST_F(ItemProperties, MetadataEditsMarkWhatTheyTouch) {
  // Which flags one edit sets: metadata, author, e-mail, link, author's link, copyright.
  const struct {
    const char* control;
    const char* text;
    const char* flags;
  } cases[] = {
      {"edtMetaName", "N", "M....."},        {"edtMetaLinkType", "t", "...L.."},
      {"edtMetaAuthorName", "A", ".A...."},  {"edtMetaAuthorEmailId", "id", ".AE..."},
      {"edtMetaAuthorLinkURL", "u", ".A..K."}, {"edtMetaCopyrightYear", "", ".....C"},
      {"edtMetaCopyrightLicense", "L", ".....C"}, {"mExtensions", "<a/>", "......"},
  };
  load();
  for (const auto& c : cases) {
    gpx_->Metadata.Assign(TGPXmetadata());
    gpx_->Metadata.copyright.year = 0;
    select({&gpx_->Metadata});
    answer(true, [&](QDialog* d) {
      EXPECT_EQ(child<QLineEdit>(d, "edtMetaCopyrightYear")->text(), "");
      if (auto* e = d->findChild<QLineEdit*>(c.control))
        e->setText("x"), e->setText(c.text);
      else
        child<QPlainTextEdit>(d, c.control)->setPlainText(c.text);
    });
    form_->Properties1Click();
    const TGPXmetadata& m = gpx_->Metadata;
    std::string flags;
    for (auto [on, letter] : {std::pair{m.Present, 'M'}, {m.author.Present, 'A'}, {m.author.email.Present, 'E'},
                              {m.link.Present, 'L'}, {m.author.link.Present, 'K'}, {m.copyright.Present, 'C'}})
      flags += on ? letter : '.';
    EXPECT_EQ(flags, c.flags) << c.control;
  }
  EXPECT_EQ(gpx_->Metadata.copyright.year, 0);  // the extensions case left the year alone
}

TEST_F(ItemProperties, MetadataTimeWritesOnlyTheTime) {
  load();
  gpx_->Metadata.time = 45000.75;
  select({&gpx_->Metadata});
  answer(true, [](QDialog* d) {
    child<QCheckBox>(d, "cbTime")->click();
    EXPECT_TRUE(child<QDateEdit>(d, "dtpDate")->text().endsWith("2023"));  // never a two-digit year
  });
  form_->Properties1Click();
  EXPECT_EQ(gpx_->Metadata.time, 45000);  // the date alone
  EXPECT_FALSE(gpx_->Metadata.author.Present || gpx_->Metadata.link.Present || gpx_->Metadata.copyright.Present);
}

TEST_F(ItemProperties, LinksOpenOnlyWebAndMailAddresses) {
  std::vector<std::string> opened;
  const LinkOpener open = [&](const QUrl& u) { opened.push_back(u.toString().toStdString()); };
  for (const char* href : {"https://example.org", "ftp://h/f", "mailto:a@b.c", "file:///etc/passwd",
                           "javascript:alert(1)", "/usr/bin/x", "http"})
    openLinkText(href, open);
  EXPECT_EQ(opened, (std::vector<std::string>{"https://example.org", "ftp://h/f", "mailto:a@b.c"}));
}

TEST_F(ItemProperties, AboutShowsTheVersionAndTheDebugMark) {
  for (bool debug : {false, true}) {
    IsDebug = debug;
    std::string shown;
    form_->ShowDialog = [&](QDialog* d) {
      d->show();
      shown = d->findChild<QLabel*>("Version")->text().toStdString();
      d->hide();
      return 1;
    };
    form_->findChild<QAction*>("About1")->trigger();
    EXPECT_EQ(shown, "Version " + GetFileVersionString() + (debug ? " \u00DF" : ""));
  }
  IsDebug = false;
  EXPECT_EQ(AboutVersionText("", false), "Version ");
  const std::string thanks = AboutCommentsText();
  EXPECT_EQ(std::count(thanks.begin(), thanks.end(), '\n'), 17);
}

}  // namespace

namespace {

TEST_F(ItemProperties, UnsoundExtensionTextKeepsTheDialogOpen) {
  TGPXtrk* t = addTrack("T");
  addSegment(t, 45, 2);
  addRoute("R", 46, 2);
  load();
  const std::function<TItem*()> items[] = {[&] { return gpx_->Routes.At(0); }, [&] { return gpx_->Tracks.At(0); },
                                           [&] { return &gpx_->Metadata; }};
  size_t confirmed = 0;
  for (const auto& item : items) {
    select({item()});
    bool refused = false;
    form_->ShowDialog = [&](QDialog* d) {
      d->show();
      QApplication::processEvents();
      d->findChild<QPlainTextEdit*>("mExtensions")->setPlainText("<a><b></a>");
      d->findChild<QPushButton*>("btnOK")->click();
      refused = d->isVisible() && d->findChild<QLabel*>("lblExtensionsError")->isVisible();
      d->findChild<QPlainTextEdit*>("mExtensions")->setPlainText("<x:a xmlns:x=\"urn:x\"/>");
      d->findChild<QPushButton*>("btnOK")->click();
      return d->result();
    };
    form_->Properties1Click();
    EXPECT_TRUE(refused) << int(item()->Kind());
    // The mended text is taken.
    EXPECT_EQ(form_->UndoList.size(), ++confirmed);
  }
}

}  // namespace
