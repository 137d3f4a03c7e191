// The main window's life: start-up with and without a settings file, titles, the log pane,
// the close question, the command guard.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>

#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTreeWidget>

#include "base/DateTime.h"
#include "platform/AppPaths.h"
#include "platform/IniFile.h"
#include "platform/ProgramVersion.h"
#include "ui/CommandGuard.h"
#include "ui/ImageView.h"
#include "ui/Main.h"

namespace fs = std::filesystem;

namespace {

const double kNow = encodeDateTime(2024, 3, 17, 14, 3, 59);

class MainFormTest : public ::testing::Test {
protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("corvantel_ui_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    AppPaths::setProgramFolder(dir_.string());
    hooks_.Now = [] { return kNow; };
    hooks_.Proxy = std::make_shared<ProxyStore>(ProxyRegistryValues{true, 0, ""});
    hooks_.AskYesNoCancel = [this](QWidget*, const QString& title, const QString& text) {
      questions_.push_back((title + "|" + text).toStdString());
      return answer_;
    };
    hooks_.AskFileNames = [this](QWidget*, const TFileDialogRequest& request) {
      proposals_.push_back(request.FileName);
      return saveAsName_.empty() ? std::vector<std::string>{} : std::vector<std::string>{saveAsName_};
    };
    hooks_.WriteDocument = [this](TGPX& gpx, const TGPXOptions&, const std::string& name) {
      if (writeFails_) throw std::runtime_error("disk full");
      writes_.push_back(name + "|" + gpx.Creator);
    };
    errorBoxFunction() = [this](QWidget*, const QString& m) { errors_.push_back(m.toStdString()); };
  }
  void TearDown() override {
    AppPaths::setProgramFolder("");
    fs::remove_all(dir_);
  }

  std::string iniPath() const { return (dir_ / "Corvantel.ini").string(); }
  void writeIni(const std::string& text) { std::ofstream(iniPath()) << text; }
  std::string readIni() const {
    std::ifstream in(iniPath());
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  fs::path dir_;
  TMainFormHooks hooks_;
  TQuestionAnswer answer_ = TQuestionAnswer::Cancel;
  std::string saveAsName_;
  bool writeFails_ = false;
  std::vector<std::string> questions_, proposals_, writes_, errors_;
};

std::vector<std::string> logLines(TMainForm& form) {
  auto* log = form.findChild<QPlainTextEdit*>("mLog");
  std::vector<std::string> lines;
  for (const QString& l : log->toPlainText().split('\n')) lines.push_back(l.toStdString());
  return lines;
}

}  // namespace

TEST_F(MainFormTest, HasTheNamedWidgets) {
  TMainForm form({}, hooks_);
  for (const char* name : {"ToolBar1", "StatusBar1", "Splitter1", "PanelLeftTree", "tvItems",
                           "mLog", "PanelRightTab", "PageControl1", "TabSheet1", "PanelGPX", "GPXImage",
                           "BottomPanel", "MenuFile", "MenuEdit", "MenuOptions", "MenuHelp"})
    EXPECT_NE(form.findChild<QWidget*>(name), nullptr) << name;
  EXPECT_NE(form.findChild<QAction*>("Quit1"), nullptr);
  EXPECT_EQ(form.findChild<QStatusBar*>("StatusBar1")->findChildren<QLabel*>().size(), 3);
  auto* tree = form.findChild<QTreeWidget*>("tvItems");
  ASSERT_EQ(tree->topLevelItemCount(), 1);
  EXPECT_EQ(tree->topLevelItem(0)->text(0), "GPX");
  EXPECT_EQ(tree->topLevelItem(0)->data(0, Qt::UserRole).value<void*>(), form.CurrentGPX.get());
}

TEST_F(MainFormTest, TitlesCarryTheFourPartVersion) {
  const std::string version = GetFileVersionString();
  EXPECT_TRUE(std::regex_match(version, std::regex(R"(\d+\.\d+\.\d+\.\d+)"))) << version;
  TMainForm form({}, hooks_);
  EXPECT_EQ(form.windowTitle().toStdString(), "Corvantel " + version);
  EXPECT_EQ(TMainForm::TitleText("/data/tracks/track.gpx"),
            "Corvantel " + version + " - track.gpx");
  EXPECT_EQ(form.GPXOptions.UserAgent,
            "Mozilla/4.0 (compatible; ICS; Corvantel " + version + ")");
}

TEST_F(MainFormTest, StartsWithoutSettingsAndWritesThemAtShutDown) {
  ASSERT_FALSE(fs::exists(iniPath()));
  {
    TMainForm form({}, hooks_);
    EXPECT_FALSE(IsDebug);
    EXPECT_EQ(form.GPXOptions.ClipboardFormat, 0);  // the object's own default without a file
    EXPECT_EQ(form.PreviewDraw->Options.TREDrawing, 0);
    form.show();
  }
  IniFile ini(iniPath());
  ASSERT_TRUE(ini.load());
  for (const char* section : {"WindowsPos", "GMap", "Draw", "TRE", "BottomPane", "GPX", "Proxy",
                              "LastFiles", "GeoNames", "StatusBar"})
    EXPECT_TRUE(ini.hasSection(section)) << section;
  EXPECT_EQ(ini.readString("GeoNames", "LastReq", ""), "2024-03-17");
}

TEST_F(MainFormTest, SettingsRoundTripAndUnknownKeysSurvive) {
  writeIni(
      "[WindowsPos]\nTop=20\nLeft=10\nWidth=770\nHeight=560\nMaximized=0\nSplitter=200\n"
      "[Debug]\nIsDebug=1\n[Draw]\nTrackColor=255\n[GPX]\nCompress=1\n"
      "[Proxy]\nType=2\nSocksIP=s\nSocksPort=9\n[LastFiles]\nNumber=1\nFileNum1=/x/a.gpx\n"
      "[Mine]\nKeep=me\n");
  {
    TMainForm form({}, hooks_);
    EXPECT_TRUE(IsDebug);
    EXPECT_EQ(form.PreviewDraw->Options.TrackColor, 255u);
    EXPECT_TRUE(form.GPXOptions.Compress);
    EXPECT_EQ(form.GPXOptions.ProxyType, 2);
    EXPECT_EQ(form.LastFiles, std::vector<std::string>{"/x/a.gpx"});
    form.show();
    QApplication::processEvents();
    EXPECT_EQ(form.pos(), QPoint(10, 20));
    EXPECT_EQ(form.size(), QSize(770, 560));
    EXPECT_EQ(form.findChild<QWidget*>("PanelLeftTree")->width(), 200);
  }
  IniFile ini(iniPath());
  ASSERT_TRUE(ini.load());
  EXPECT_EQ(ini.readString("Mine", "Keep", ""), "me");
  EXPECT_EQ(ini.readString("Debug", "IsDebug", ""), "1");
  for (auto [key, value] : {std::pair{"Top", 20}, {"Left", 10}, {"Width", 770}, {"Height", 560},
                            {"Splitter", 200}})
    EXPECT_EQ(ini.readInteger("WindowsPos", key, -1), value) << key;
  EXPECT_EQ(ini.readInteger("Draw", "TrackColor", -1), 255);
  EXPECT_EQ(ini.readString("Proxy", "SocksIP", ""), "s");
  EXPECT_EQ(ini.readString("LastFiles", "FileNum1", ""), "/x/a.gpx");
  IsDebug = false;
}

TEST_F(MainFormTest, AMaximizedWindowStoresNoPlace) {
  writeIni("[WindowsPos]\nMaximized=1\n");
  {
    TMainForm form({}, hooks_);
    EXPECT_EQ(form.GPXOptions.ClipboardFormat, 1);  // every other key at its reading default
    EXPECT_EQ(form.PreviewDraw->Options.TREDrawing, 2);
    form.show();
    QApplication::processEvents();
    EXPECT_TRUE(form.isMaximized());
  }
  IniFile ini(iniPath());
  ASSERT_TRUE(ini.load());
  EXPECT_EQ(ini.keys("WindowsPos"), (std::vector<std::string>{"Maximized", "Splitter"}));
  EXPECT_EQ(ini.readString("WindowsPos", "Maximized", ""), "1");
}

TEST_F(MainFormTest, ARestoredWindowIsClampedToTheScreen) {
  const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
  const std::string max = "2147483647", min = "-2147483648";
  for (const std::string& place :
       {std::string("Top=-300\nLeft=5000\nWidth=90000\nHeight=10\n"),
        "Top=" + max + "\nLeft=" + min + "\nWidth=" + max + "\nHeight=" + max + "\nSplitter=" + max + "\n",
        "Top=" + min + "\nLeft=" + max + "\nWidth=" + min + "\nHeight=" + min + "\nSplitter=" + min + "\n",
        "Maximized=1\nSplitter=" + max + "\n"}) {
    SCOPED_TRACE(place);
    writeIni("[WindowsPos]\n" + place);
    TMainForm form({}, hooks_);
    form.show();
    QApplication::processEvents();
    EXPECT_LE(form.width(), std::max(avail.width(), 760));
    EXPECT_GE(form.height(), 550);  // never below the smallest size
    EXPECT_GE(form.pos().y(), avail.top());
    EXPECT_LE(form.pos().x() + form.width(), std::max(avail.right() + 1, avail.left() + 760));
    // Both panes show, whatever the splitter said.
    const int left = form.findChild<QWidget*>("PanelLeftTree")->width();
    const int right = form.findChild<QWidget*>("PanelRightTab")->width();
    EXPECT_GT(left, 0);
    EXPECT_GT(right, 0);
    EXPECT_LE(left + right, form.width());
  }
}

TEST_F(MainFormTest, AnUnreadableSettingsFileIsReportedAndKeptAsItIs) {
  const std::string bytes = "[Debug]\nIsDebug=1\n[LastFiles]\nNumber=1\nFileNum1=/x/a.gpx\n[Mine]\nKeep=me\n";
  writeIni(bytes);
  fs::permissions(iniPath(), fs::perms::none);
  if (::geteuid() == 0)  // root reads a file of mode 000: here the read fails as a user's does
    hooks_.ReadSettingsFile = [](IniFile&, std::string& error) {
      error = "Permission denied";
      return false;
    };
  {
    TMainForm form({}, hooks_);
    EXPECT_FALSE(IsDebug);  // the defaults
    EXPECT_TRUE(form.LastFiles.empty());
    EXPECT_NE(logLines(form).back().find("Permission denied"), std::string::npos) << logLines(form).back();
    EXPECT_TRUE(form.close());
  }
  fs::permissions(iniPath(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(readIni(), bytes);
}

TEST_F(MainFormTest, ProxyOfTheSettingsFileWinsAndStartUpWritesNothing) {
  const ProxyRegistryValues system{true, 1, "HTTP=Proxy.Lan:3128;ftp=x:1"};
  hooks_.Proxy = std::make_shared<ProxyStore>(system);
  {
    TMainForm form({}, hooks_);
    EXPECT_EQ(form.GPXOptions.ProxyType, 1);
    EXPECT_EQ(form.GPXOptions.HttpIP, "proxy.lan");
    EXPECT_EQ(form.GPXOptions.HttpPort, "3128");
  }
  writeIni("[Proxy]\nType=0\n");
  TMainForm form({}, hooks_);
  EXPECT_EQ(form.GPXOptions.ProxyType, 0);
  EXPECT_EQ(hooks_.Proxy->values().ProxyServer, system.ProxyServer);
  EXPECT_EQ(hooks_.Proxy->values().ProxyEnable, 1);
}

TEST_F(MainFormTest, LogLinesGetATimePrefixInDebugMode) {
  TMainForm form({}, hooks_);
  form.AddLog("plain");
  form.AddLog("");
  IsDebug = true;
  form.AddLog("hello");
  IsDebug = false;
  EXPECT_EQ(logLines(form), (std::vector<std::string>{"plain", "", "[14:03:59] hello"}));
}

TEST_F(MainFormTest, OnlyTheFirstShowingFocusesAndFits) {
  TMainForm form({}, hooks_);
  form.ZoomAllOnShow = true;
  form.show();
  EXPECT_FALSE(form.ZoomAllOnShow);
  form.ZoomAllOnShow = true;
  form.showMinimized();
  form.showNormal();
  EXPECT_TRUE(form.ZoomAllOnShow);
}

TEST_F(MainFormTest, CloseQuestionAnswers) {
  struct Case {
    const char* name;
    bool modified;
    TQuestionAnswer answer;
    std::string saveAsName;  // what the Save-as dialog returns
    bool writeFails;
    bool closes;
    size_t writes;
    size_t errors;
  } cases[] = {
      {"unmodified", false, TQuestionAnswer::Cancel, "", false, true, 0, 0},
      {"no", true, TQuestionAnswer::No, "", false, true, 0, 0},
      {"cancel", true, TQuestionAnswer::Cancel, "", false, false, 0, 0},
      {"yes, saved as", true, TQuestionAnswer::Yes, "/tmp/new.gpx", false, true, 1, 0},
      {"yes, dialog cancelled", true, TQuestionAnswer::Yes, "", false, false, 0, 0},
      {"yes, write fails", true, TQuestionAnswer::Yes, "/tmp/new.gpx", true, false, 0, 1},
  };
  for (const Case& c : cases) {
    questions_.clear();
    proposals_.clear();
    writes_.clear();
    errors_.clear();
    answer_ = c.answer;
    saveAsName_ = c.saveAsName;
    writeFails_ = c.writeFails;
    TMainForm form({"/data/imported.nmea"}, hooks_);
    form.GPXModified = c.modified;
    form.show();
    EXPECT_EQ(form.close(), c.closes) << c.name;
    EXPECT_EQ(questions_.size(), c.modified ? 1u : 0u) << c.name;
    if (c.modified) {
      EXPECT_EQ(questions_[0],
                "Question|/data/imported.nmea\nhas been modified, do you want to save it ?");
    }
    // The command-line file is not the document's own: Yes asks where to save it.
    EXPECT_EQ(proposals_.size(), c.answer == TQuestionAnswer::Yes ? 1u : 0u) << c.name;
    EXPECT_EQ(writes_.size(), c.writes) << c.name;
    EXPECT_EQ(errors_.size(), c.errors) << c.name;
    if (c.writes) {
      EXPECT_EQ(writes_[0], "/tmp/new.gpx|Corvantel " + GetFileVersionString());
    }
    EXPECT_EQ(form.GPXModified, c.modified && c.writes == 0) << c.name;
  }
}

TEST_F(MainFormTest, YesSavesADocumentsOwnFileWithoutADialog) {
  answer_ = TQuestionAnswer::Yes;
  TMainForm form({}, hooks_);
  form.CurrentFileName = "/data/track.gpx";
  form.CurrentFileIsDocument = true;
  form.GPXModified = true;
  form.show();
  EXPECT_TRUE(form.close());
  EXPECT_TRUE(proposals_.empty());
  ASSERT_EQ(writes_.size(), 1u);
  EXPECT_EQ(writes_[0].substr(0, writes_[0].find('|')), "/data/track.gpx");
}

TEST_F(MainFormTest, GuardTurnsAnExceptionIntoAnErrorBoxAndRestoresTheWindow) {
  TMainForm form({}, hooks_);
  EXPECT_FALSE(RunGuarded(&form, [&] {
    TBusyCursor busy(&form);
    QApplication::setOverrideCursor(Qt::WaitCursor);  // a second one, left by a sloppy command
    form.setEnabled(false);
    throw std::runtime_error("file \xC3\xA9" "crite nowhere");
  }));
  EXPECT_TRUE(form.isEnabled());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(errors_, std::vector<std::string>{"file \xC3\xA9" "crite nowhere"});
  EXPECT_TRUE(RunGuarded(&form, [] {}));
}

TEST_F(MainFormTest, AnUnwritableSettingsFileDoesNotStopShutDown) {
  AppPaths::setProgramFolder((dir_ / "gone").string());
  auto form = std::make_unique<TMainForm>(std::vector<std::string>{}, hooks_);
  fs::remove_all(dir_ / "gone");
  fs::create_directories(dir_ / "gone" / "Corvantel.ini");  // a folder in the file's place
  form.reset();
  EXPECT_TRUE(fs::is_directory(dir_ / "gone" / "Corvantel.ini"));
}

TEST_F(MainFormTest, PreviewImageShowsTheDrawnDocument) {
  TMainForm form({}, hooks_);
  form.resize(800, 600);
  form.show();
  auto* image = form.findChild<TImageView*>("GPXImage");
  ASSERT_NE(image, nullptr);
  // Empty document: the preview's background.
  EXPECT_EQ(image->canvas().GetPixel(image->width() / 2, image->height() / 2), 0xC0C0C0u);

  auto* trk = form.CurrentGPX->Tracks.Add(std::make_unique<TGPXtrk>());
  auto* seg = trk->Add(std::make_unique<TGPXtrkseg>());
  for (double d : {0.0, 0.01}) {
    auto p = std::make_unique<TGPXwpt>();
    p->Lat = 45.0 + d;
    p->Lon = 5.0 + d;
    seg->AddPoint(std::move(p));
  }
  form.GPXLoaded = true;
  form.PreviewDraw->SetGPX(form.CurrentGPX.get());
  form.PreviewDraw->Canvas = &image->canvas();
  form.PreviewDraw->SetSize(image->width(), image->height());
  form.PreviewDraw->FitAll(true, true);
  form.resize(form.width() - 20, form.height());  // a resize redraws at the new size
  QApplication::processEvents();
  int trackPixels = 0;
  for (int y = 0; y < image->height(); ++y)
    for (int x = 0; x < image->width(); ++x)
      trackPixels += image->canvas().GetPixel(x, y) == form.PreviewDraw->Options.TrackColor;
  EXPECT_GT(trackPixels, 50);
  EXPECT_EQ(form.PreviewDraw->Width, image->width());
}
