// The settings dialog's round trip: Cancel changes nothing, OK copies back and redraws.
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include "WindowFixture.h"
#include "platform/WebBrowser.h"
#include "ui/ImageView.h"
#include "ui/dialogs/Settings.h"

namespace {

class SettingsDialogTest : public WindowTest {
protected:
  // Opens the dialog; `user` acts in it; `ok` closes it with OK, else with Cancel.
  void runDialog(const std::function<void(TSettingsForm&)>& user, bool ok) {
    form_->RunSettingsDialog = [&](QDialog* dialog) {
      auto& d = *static_cast<TSettingsForm*>(dialog);
      d.AskColor = [this](QWidget*, const QColor&) { return chosen_; };
      d.show();
      user(d);
      d.hide();
      return ok ? QDialog::Accepted : QDialog::Rejected;
    };
    form_->Settings1Click();
  }
  static void showPage(TSettingsForm& d, int index) {
    d.findChild<QTabWidget*>("PageControl1")->setCurrentIndex(index);
  }
  template <class W>
  static W* child(TSettingsForm& d, const char* name) {
    W* w = d.findChild<W*>(name);
    EXPECT_TRUE(w) << name;
    return w;
  }
  static void chooseItem(TSettingsForm& d, const char* group, int index) {
    child<QGroupBox>(d, group)->findChildren<QRadioButton*>().at(index)->click();
  }
  std::optional<QColor> chosen_ = QColor(10, 20, 30);
};

}  // namespace

TEST_F(SettingsDialogTest, CancelAfterChangingEveryPageLeavesTheOptions) {
  TMainForm& f = form();
  const TGMapOptions gmap = f.GMapOptions;
  const TDrawOptions draw = f.PreviewDraw->Options;
  const TStatOptions stat = f.StatOptions;
  const TGPXOptions gpx = f.GPXOptions;
  runDialog([&](TSettingsForm& d) {
    for (int page = 0; page < 6; ++page) {
      showPage(d, page);
      QWidget* sheet = d.findChild<QTabWidget*>("PageControl1")->currentWidget();
      for (auto* box : sheet->findChildren<QCheckBox*>())
        if (box->isEnabled()) box->click();
      for (auto* edit : sheet->findChildren<QLineEdit*>()) edit->setText("12");
      for (auto* panel : sheet->findChildren<QPushButton*>()) panel->click();
      for (auto* radio : sheet->findChildren<QRadioButton*>())
        if (!radio->isChecked()) radio->click();
    }
    // The copies did change.
    EXPECT_FALSE(d.GMapOptions == gmap);
    EXPECT_FALSE(d.DrawOptions == draw);
    EXPECT_FALSE(d.StatOptions == stat);
    EXPECT_FALSE(d.GPXOptions == gpx);
  }, false);
  EXPECT_TRUE(f.GMapOptions == gmap);
  EXPECT_TRUE(f.PreviewDraw->Options == draw);
  EXPECT_TRUE(f.StatOptions == stat);
  EXPECT_TRUE(f.GPXOptions == gpx);
}

TEST_F(SettingsDialogTest, OkCopiesBackRedrawsAndWritesTheProxy) {
  struct Case {
    const char* what;
    std::function<void(TMainForm&)> before;
    std::function<void(TSettingsForm&)> user;
    std::function<void(TMainForm&)> check;
  };
  const Case cases[] = {
      {"preview background, drawn at once", nullptr,
       [](TSettingsForm& d) { child<QPushButton>(d, "pDrawBackgroundColor")->click(); },
       [](TMainForm& f) {
         EXPECT_EQ(f.PreviewDraw->Options.BackgroundColor, 0x1E140Au);
         EXPECT_EQ(f.findChild<TImageView*>("GPXImage")->canvas().GetPixel(5, 5), 0x1E140Au);
         EXPECT_EQ(f.TRESrcDraw->Options.BackgroundColor, 0x1E140Au);  // the edition previews too
         EXPECT_EQ(f.TREDstDraw->Options.BackgroundColor, 0x1E140Au);
       }},
      {"graph background, drawn at once", nullptr,
       [](TSettingsForm& d) {
         showPage(d, 3);
         child<QPushButton>(d, "pStatBackGroundColor")->click();
       },
       [](TMainForm& f) {
         EXPECT_EQ(f.GPXStat->Options.BackgroundColor, 0x1E140Au);
         EXPECT_EQ(f.findChild<TImageView*>("GPXStatImage")->canvas().GetPixel(5, 5), 0x1E140Au);
       }},
      {"web map colour as upper-case hexadecimal", nullptr,
       [](TSettingsForm& d) {
         showPage(d, 2);
         child<QPushButton>(d, "pGMapTrackColor")->click();
       },
       [](TMainForm& f) { EXPECT_EQ(f.GMapOptions.TrackColor, "0A141E"); }},
      {"letters as history depth store 8", [](TMainForm& f) { f.GPXOptions.FileHistory = 3; },
       [](TSettingsForm& d) { child<QLineEdit>(d, "edtFileHistory")->setText("ab"); },
       [](TMainForm& f) { EXPECT_EQ(f.GPXOptions.FileHistory, 8); }},
      {"depth 0 empties the recent files",
       [](TMainForm& f) { f.LastFiles = {"/a.gpx", "/b.gpx"}; },
       [](TSettingsForm& d) { child<QLineEdit>(d, "edtFileHistory")->setText("0"); },
       [](TMainForm& f) {
         EXPECT_TRUE(f.LastFiles.empty());
         EXPECT_FALSE(f.findChild<QMenu*>("Reopen1")->menuAction()->isEnabled());
       }},
      {"proxy written to the store", nullptr,
       [](TSettingsForm& d) {
         showPage(d, 4);
         chooseItem(d, "rgProxySettings", 1);
         child<QLineEdit>(d, "edtHttpProxyIP")->setText("Proxy.Example");
         child<QLineEdit>(d, "edtHttpProxyPort")->setText("3128");
       },
       [](TMainForm& f) {
         EXPECT_EQ(f.GPXOptions.ProxyType, 1);
         EXPECT_EQ(f.Hooks.Proxy->values().ProxyEnable, 1);
         EXPECT_EQ(f.Hooks.Proxy->values().ProxyServer, "http=Proxy.Example:3128");
       }},
      {"no GPX style clears both line-style flags, the unseen page's too",
       [](TMainForm& f) {
         f.GPXOptions.GPXStyle = true;
         f.PreviewDraw->Options.GPXDrawLineStyle = 1;
         f.GMapOptions.ExtensionLineColor = true;
       },
       [](TSettingsForm& d) {
         EXPECT_TRUE(child<QCheckBox>(d, "cbGPXDrawLineStyle")->isEnabled());
         child<QCheckBox>(d, "cbGPX_Style")->click();
         EXPECT_FALSE(child<QCheckBox>(d, "cbGPXDrawLineStyle")->isEnabled());
       },
       [](TMainForm& f) {
         EXPECT_FALSE(f.GPXOptions.GPXStyle);
         EXPECT_EQ(f.PreviewDraw->Options.GPXDrawLineStyle, 0);
         EXPECT_FALSE(f.GMapOptions.ExtensionLineColor);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TMainForm& f = form();
    f.show();
    if (c.before) c.before(f);
    runDialog(c.user, true);
    c.check(f);
  }
}

TEST_F(SettingsDialogTest, ColourCancelKeepsThePanelAndTheLastPageStays) {
  TMainForm& f = form();
  chosen_.reset();
  runDialog([](TSettingsForm& d) {
    showPage(d, 3);
    child<QPushButton>(d, "pStatLineColor")->click();
  }, true);
  EXPECT_EQ(f.StatOptions.LineColor, 0u);
  runDialog([](TSettingsForm& d) {
    EXPECT_EQ(d.findChild<QTabWidget*>("PageControl1")->currentIndex(), 3);
  }, false);
}

TEST_F(SettingsDialogTest, OkWritesTheMapPageAnewWhileItShows) {
  struct TFakePage : TWebBrowser {
    using TWebBrowser::TWebBrowser;
    void Navigate(const QString& fileName) override { ++loads; }
    void RunScript(const QString&) override {}
    int loads = 0;
  };
  const WebBrowserFactory saved = webBrowserFactory();
  TFakePage* page = nullptr;
  webBrowserFactory() = [&](QWidget* parent) { return page = new TFakePage(parent); };
  TMainForm& f = form({writeTrack("a.gpx", "T")});
  f.findChild<QTabWidget*>("PageControl1")->setCurrentWidget(f.findChild<QWidget*>("TabSheet4"));
  ASSERT_TRUE(page);
  runDialog([](TSettingsForm&) {}, true);
  EXPECT_EQ(page->loads, 2);
  runDialog([](TSettingsForm&) {}, false);
  EXPECT_EQ(page->loads, 2);
  form_.reset();
  webBrowserFactory() = saved;
}
