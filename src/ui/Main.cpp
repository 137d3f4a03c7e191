// The main window's construction, start-up, close question and shut-down.
#include "ui/Main.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "base/DateTime.h"
#include "base/LocaleFormats.h"
#include "base/Translate.h"
#include "formats/GPXFile.h"
#include "platform/AppPaths.h"
#include "platform/IniFile.h"
#include "platform/ProgramVersion.h"
#include "ui/CommandGuard.h"
#include "ui/FileDialogs.h"
#include "ui/ImageView.h"
#include "ui/QtText.h"
#include "ui/SettingsFile.h"
#include "ui/TreeNodes.h"

bool IsDebug = false;

namespace {

TQuestionAnswer askYesNoCancel(QWidget* parent, const QString& title, const QString& text) {
  switch (QMessageBox::question(parent, title, text,
                                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                QMessageBox::Yes)) {
    case QMessageBox::Yes:
      return TQuestionAnswer::Yes;
    case QMessageBox::No:
      return TQuestionAnswer::No;
    default:
      return TQuestionAnswer::Cancel;
  }
}

// Left panel panes: the tree over the log.
constexpr int kTreeStretch = 3, kLogStretch = 2;
// The window's designed place and its smallest size.
constexpr int kDesignLeft = 227, kDesignTop = 106, kMinWidth = 760, kMinHeight = 550;

}  // namespace

TMainFormHooks DefaultMainFormHooks() {
  TMainFormHooks hooks;
  hooks.AskYesNoCancel = askYesNoCancel;
  hooks.AskFileNames = askFileNames;
  hooks.WriteDocument = [](TGPX& gpx, const TGPXOptions& options, const std::string& fileName) {
    TGPXFile writer;
    writer.GPX = &gpx;
    writer.Options.Assign(options);
    writer.SaveToFile(fileName);
  };
  hooks.Beep = [] { QApplication::beep(); };
  hooks.Now = nowLocal;
  hooks.ReadSettingsFile = [](IniFile& ini, std::string& error) { return ini.load(&error); };
  return hooks;
}

TMainForm::TMainForm(const std::vector<std::string>& arguments, TMainFormHooks hooks, QWidget* parent)
    : QMainWindow(parent), Hooks(std::move(hooks)) {
  // A test replaces some hooks; the others stay as the program's own.
  const TMainFormHooks defaults = DefaultMainFormHooks();
  if (!Hooks.AskYesNoCancel) Hooks.AskYesNoCancel = defaults.AskYesNoCancel;
  if (!Hooks.AskFileNames) Hooks.AskFileNames = defaults.AskFileNames;
  if (!Hooks.WriteDocument) Hooks.WriteDocument = defaults.WriteDocument;
  if (!Hooks.Beep) Hooks.Beep = defaults.Beep;
  if (!Hooks.Now) Hooks.Now = defaults.Now;
  if (!Hooks.ReadSettingsFile) Hooks.ReadSettingsFile = defaults.ReadSettingsFile;
  if (!Hooks.Proxy) Hooks.Proxy = std::make_shared<ProxyStore>();
  FormCreate(arguments);
}

TMainForm::~TMainForm() { FormDestroy(); }

std::string TMainForm::TitleText(const std::string& fileName) {
  std::string title = "Corvantel " + GetFileVersionString();
  if (!fileName.empty())
    title += " - " + std::filesystem::path(fileName).filename().string();
  return title;
}

std::string TMainForm::SettingsFileName() { return AppPaths::programFolder() + "Corvantel.ini"; }

void TMainForm::BuildMenus() {
  MenuFile = menuBar()->addMenu(qs(_("&File")));
  MenuFile->setObjectName("MenuFile");
  Quit1 = MenuFile->addAction(qs(_("Quit")));
  Quit1->setObjectName("Quit1");
  connect(Quit1, &QAction::triggered, this, [this] { RunGuarded(this, [this] { ActionQuitExecute(); }); });
  MenuEdit = menuBar()->addMenu(qs(_("&Edit")));
  MenuEdit->setObjectName("MenuEdit");
  MenuOptions = menuBar()->addMenu(qs(_("&Options")));
  MenuOptions->setObjectName("MenuOptions");
  MenuHelp = menuBar()->addMenu(qs(_("&?")));
  MenuHelp->setObjectName("MenuHelp");
}

void TMainForm::BuildWidgets() {
  setObjectName("MainForm");
  setMinimumSize(kMinWidth, kMinHeight);
  resize(kMinWidth, kMinHeight);
  move(kDesignLeft, kDesignTop);
  BuildMenus();

  ToolBar1 = addToolBar("ToolBar1");
  ToolBar1->setObjectName("ToolBar1");
  ToolBar1->setMovable(false);

  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName("StatusBar1");
  setStatusBar(StatusBar1);
  // Three panels: the position, the time or point index (centred), the point description.
  const int widths[] = {154, 120, 50};
  for (int i = 0; i < 3; ++i) {
    auto* panel = new QLabel(StatusBar1);
    panel->setObjectName(QString("StatusPanel%1").arg(i));
    panel->setMinimumWidth(widths[i]);
    if (i == 1) panel->setAlignment(Qt::AlignCenter);
    StatusBar1->addWidget(panel, i == 2 ? 1 : 0);
    statusPanels_.push_back(panel);
  }

  Splitter1 = new QSplitter(Qt::Horizontal, this);
  Splitter1->setObjectName("Splitter1");
  Splitter1->setChildrenCollapsible(false);
  setCentralWidget(Splitter1);

  PanelLeftTree = new QWidget(Splitter1);
  PanelLeftTree->setObjectName("PanelLeftTree");
  PanelLeftTree->installEventFilter(this);
  auto* left = new QVBoxLayout(PanelLeftTree);
  left->setContentsMargins(0, 0, 0, 0);
  tvItems = new QTreeWidget(PanelLeftTree);
  tvItems->setObjectName("tvItems");
  tvItems->setHeaderHidden(true);
  tvItems->setSelectionMode(QAbstractItemView::ExtendedSelection);
  left->addWidget(tvItems, kTreeStretch);
  mLog = new QPlainTextEdit(PanelLeftTree);
  mLog->setObjectName("mLog");
  mLog->setReadOnly(true);
  mLog->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  mLog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  left->addWidget(mLog, kLogStretch);

  PanelRightTab = new QWidget(Splitter1);
  PanelRightTab->setObjectName("PanelRightTab");
  auto* right = new QVBoxLayout(PanelRightTab);
  right->setContentsMargins(0, 0, 0, 0);
  PageControl1 = new QTabWidget(PanelRightTab);
  PageControl1->setObjectName("PageControl1");
  right->addWidget(PageControl1, 1);
  TabSheet1 = new QWidget(PageControl1);
  TabSheet1->setObjectName("TabSheet1");
  auto* sheet = new QVBoxLayout(TabSheet1);
  sheet->setContentsMargins(0, 0, 0, 0);
  PanelGPX = new QWidget(TabSheet1);
  PanelGPX->setObjectName("PanelGPX");
  sheet->addWidget(PanelGPX);
  auto* panel = new QVBoxLayout(PanelGPX);
  panel->setContentsMargins(0, 0, 0, 0);
  GPXImage = new TImageView(PanelGPX);
  GPXImage->setObjectName("GPXImage");
  GPXImage->OnResize = [this] { PanelGPXResize(); };
  panel->addWidget(GPXImage);
  PageControl1->addTab(TabSheet1, qs(_(" Preview ")));
  BottomPanel = new QWidget(PanelRightTab);
  BottomPanel->setObjectName("BottomPanel");
  BottomPanel->setFixedHeight(100);
  right->addWidget(BottomPanel);

  Splitter1->setStretchFactor(0, 0);
  Splitter1->setStretchFactor(1, 1);
  Splitter1->setSizes({splitterWidth_, kMinWidth - splitterWidth_});
  BuildFileCommands();
  BuildTreeCommands();
  BuildPointListPage();
}

void TMainForm::FormCreate(const std::vector<std::string>& arguments) {
  // Window texts pass through _() as they are created.
  BuildWidgets();
  IsDebug = false;
  MapPageFileName.clear();
  PageControl1->setCurrentIndex(0);

  CurrentGPX = std::make_unique<TGPX>();
  setTreeNode(new QTreeWidgetItem(tvItems), TreeNodeKind::Document, CurrentGPX.get(), "GPX", 1);

  PreviewDraw = std::make_unique<TGPXDraw>();
  setWindowTitle(qs(TitleText()));
  BuildToolsAndCommands();
  BuildPropertyDialogs();
  BuildSettingsCommands();
  BuildMapTab();  // the last page: after those the other commands add

  ReadProxySettings();
  LoadSettings();
  BuildGraphPane();
  PreviewDraw->Debug = IsDebug;
  PanelGPXResize();
  GPXOptions.UserAgent =
      "Mozilla/4.0 (compatible; ICS; Corvantel " + GetFileVersionString() + ")";
  // The proxy store is not written here: start-up never changes the user's settings.
  UpdateCommands(true);
  ActivePane = 0;

  OpenStartUpFile(arguments);
  // After the start-up file, whose reading clears the log pane.
  if (!settingsReadError_.empty()) AddLog(settingsReadError_);
}

void TMainForm::FormShow() {
  if (!ZoomAllOnShow) return;
  tvItems->setFocus();
  ZoomAllOnShow = false;
  if (PreviewDraw->GPX && PreviewDraw->Canvas) {
    PreviewDraw->FitAll(true, false);
    DrawPreview();
  }
}

void TMainForm::PanelGPXResize() {
  if (!PreviewDraw) return;
  if (GPXLoaded && PreviewDraw->GPX && PreviewDraw->Canvas) {
    PreviewDraw->SetSize(GPXImage->width(), GPXImage->height());
    DrawPreview();
  } else {
    ShowPreviewBackground();  // nothing to draw yet
  }
}

bool TMainForm::FormCloseQuery() { return QuerySaveChanges(); }

void TMainForm::FormDestroy() {
  try {
    SaveSettings();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "Corvantel: settings not written: %s\n", e.what());
  }
  UndoList.clear();
  PreviewDraw.reset();
  CurrentGPX.reset();
  LastFiles.clear();
  if (!MapPageFileName.empty()) {
    std::error_code ec;
    std::filesystem::remove(std::filesystem::path(MapPageFileName), ec);
  }
}

void TMainForm::ActionQuitExecute() { close(); }

void TMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // Qt also sends a show event on restore from minimised; only the first one counts.
  if (shownOnce_) return;
  shownOnce_ = true;
  FormShow();
}

void TMainForm::closeEvent(QCloseEvent* event) {
  bool canClose = true;
  RunGuarded(this, [&] { canClose = FormCloseQuery(); });
  if (canClose)
    event->accept();
  else
    event->ignore();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == PanelLeftTree && event->type() == QEvent::Resize) PanelLeftTreeResize();
  return QMainWindow::eventFilter(watched, event);
}

void TMainForm::AddLog(const std::string& text) {
  std::string line = text;
  if (IsDebug) line = "[" + localeFormats().longTime(Hooks.Now()) + "] " + text;
  mLog->appendPlainText(qs(line));
  ScrollLogToEnd();
}

void TMainForm::PanelLeftTreeResize() { ScrollLogToEnd(); }

void TMainForm::ScrollLogToEnd() {
  // The newest line is the last visible one, with no empty line under it.
  mLog->verticalScrollBar()->setValue(mLog->verticalScrollBar()->maximum());
}

void TMainForm::ReadProxySettings() {
  ProxyFields f{GPXOptions.ProxyType, GPXOptions.HttpIP, GPXOptions.HttpPort, GPXOptions.SocksIP,
                GPXOptions.SocksPort};
  parseProxySettings(Hooks.Proxy->values(), f);
  GPXOptions.ProxyType = f.ProxyType;
  GPXOptions.HttpIP = f.HttpIP;
  GPXOptions.HttpPort = f.HttpPort;
  GPXOptions.SocksIP = f.SocksIP;
  GPXOptions.SocksPort = f.SocksPort;
}

void TMainForm::WriteProxySettings() {
  ProxyRegistryValues values = Hooks.Proxy->values();
  formatProxySettings(ProxyFields{GPXOptions.ProxyType, GPXOptions.HttpIP, GPXOptions.HttpPort,
                                  GPXOptions.SocksIP, GPXOptions.SocksPort},
                      values);
  Hooks.Proxy->setValues(values);
}

void TMainForm::ApplyWindowPlacement(bool maximized, int top, int left, int width, int height) {
  if (maximized) {
    setWindowState(windowState() | Qt::WindowMaximized);
    return;
  }
  // A place saved on another screen layout is clamped to the screen the window lands on.
  QScreen* screen = QGuiApplication::screenAt(QPoint(left + width / 2, top + height / 2));
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (screen) {
    const QRect avail = screen->availableGeometry();
    width = std::clamp(width, minimumWidth(), std::max(minimumWidth(), avail.width()));
    height = std::clamp(height, minimumHeight(), std::max(minimumHeight(), avail.height()));
    left = std::clamp(left, avail.left(), std::max(avail.left(), avail.right() + 1 - width));
    top = std::clamp(top, avail.top(), std::max(avail.top(), avail.bottom() + 1 - height));
  }
  resize(width, height);
  move(left, top);
}

void TMainForm::LoadSettings() {
  IniFile ini(SettingsFileName());
  std::string error;
  if (!Hooks.ReadSettingsFile(ini, error)) {
    if (error.empty()) return;  // no file yet
    // The user's settings are in there: the session runs on defaults and leaves them alone.
    settingsReadError_ =
        _("The settings file cannot be read; the editor runs on its defaults and leaves it as it is:") +
        " " + error;
    std::fprintf(stderr, "Corvantel: %s\n", settingsReadError_.c_str());
    return;
  }
  TSettingsValues v;
  v.Window.Top = pos().y();
  v.Window.Left = pos().x();
  v.Window.Width = width();
  v.Window.Height = height();
  v.Stat = StatOptions;
  ReadSettings(ini, v, Hooks.Now());
  ApplyWindowPlacement(v.Window.Maximized, v.Window.Top, v.Window.Left, v.Window.Width,
                       v.Window.Height);
  // The left panel fits the window as it will show, so that both panes appear.
  int room = width();
  if (v.Window.Maximized)
    if (QScreen* s = screen()) room = std::max(room, s->availableGeometry().width());
  splitterWidth_ = std::clamp(v.Window.Splitter, 0, room);
  Splitter1->setSizes({splitterWidth_, std::max(1, width() - splitterWidth_)});
  IsDebug = v.IsDebug;
  GMapOptions.Assign(v.GMap);
  PreviewDraw->Options.Assign(v.Draw);
  StatOptions.Assign(v.Stat);
  std::string userAgent = GPXOptions.UserAgent;
  GPXOptions.Assign(v.GPX);
  GPXOptions.UserAgent = userAgent;
  LastFiles = v.LastFiles;
  ElevationCredit = v.ElevationCredit;
}

void TMainForm::SaveSettings() {
  if (!settingsReadError_.empty()) return;  // reported at start-up
  IniFile ini(SettingsFileName());
  // Keys the program does not write stay as they are in the file; a file that became
  // unreadable meanwhile is not replaced by one without them.
  std::string error;
  if (!Hooks.ReadSettingsFile(ini, error) && !error.empty()) {
    std::fprintf(stderr, "Corvantel: settings not written: %s\n", error.c_str());
    return;
  }
  TSettingsValues v;
  v.Window.Maximized = isMaximized();
  v.Window.Top = pos().y();
  v.Window.Left = pos().x();
  v.Window.Width = width();
  v.Window.Height = height();
  // Before the window was laid out the panel has no real width yet.
  v.Window.Splitter = shownOnce_ ? PanelLeftTree->width() : splitterWidth_;
  v.IsDebug = IsDebug;
  v.GMap = GMapOptions;
  v.Draw = PreviewDraw->Options;
  v.Stat = StatOptions;
  v.GPX = GPXOptions;
  v.LastFiles = LastFiles;
  v.ElevationCredit = ElevationCredit;
  WriteSettings(ini, v, Hooks.Now());
  if (!ini.save(&error)) std::fprintf(stderr, "Corvantel: %s\n", error.c_str());
}
