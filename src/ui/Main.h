// The main window: the document, the tree, the preview, the log pane and the status bar,
// and the window's life from start-up to shut-down.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QMainWindow>
#include <QStringList>

#include "model/GPX.h"
#include "platform/ProxyStore.h"
#include "views/GPXDraw.h"
#include "views/DrawOptions.h"
#include "views/GMapOptions.h"
#include "views/StatOptions.h"

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QSplitter;
class QStatusBar;
class QTabWidget;
class QToolBar;
class QTreeWidget;
class QWidget;
class TImageView;

// The process-wide debug flag, read from the settings file: log lines get a time prefix.
extern bool IsDebug;

enum class TQuestionAnswer { Yes, No, Cancel };

// What the window asks of the user and of the world, replaceable by tests.
struct TMainFormHooks {
  // A box with Yes, No and Cancel and the question icon.
  std::function<TQuestionAnswer(QWidget* parent, const QString& title, const QString& text)>
      AskYesNoCancel;
  // The Save-as dialog; the chosen name, or empty on Cancel.
  std::function<std::string(QWidget* parent, const std::string& proposed)> AskSaveFileName;
  // Writes the current document to a file; throws when it cannot. The file commands
  // install the GPX writer here.
  std::function<void(const TGPX& gpx, const std::string& fileName)> WriteDocument;
  // Local date-time now.
  std::function<double()> Now;
  // The user's proxy settings; from the environment when not given.
  std::shared_ptr<ProxyStore> Proxy;
};
TMainFormHooks DefaultMainFormHooks();

class TMainForm : public QMainWindow {
  Q_OBJECT
public:
  // `arguments` are the command-line arguments after the program name.
  explicit TMainForm(const QStringList& arguments = {}, TMainFormHooks hooks = DefaultMainFormHooks(),
                     QWidget* parent = nullptr);
  ~TMainForm() override;

  void AddLog(const std::string& text);
  void LoadSettings();
  void SaveSettings();
  void ReadProxySettings();
  void WriteProxySettings();
  // Saves the document where it came from, or through Save as when it has no file of its
  // own; false when nothing was written (cancelled or failed).
  bool SaveFile();
  // "Corvantel <version>", with " - <file name>" when a file name is given.
  static std::string TitleText(const std::string& fileName = {});
  // The settings file: "Corvantel.ini" in the program's folder.
  static std::string SettingsFileName();

  // The window's state.
  std::unique_ptr<TGPX> CurrentGPX;
  std::string CurrentFileName;
  // CurrentFileName is where the document was read from or last saved to. Save writes
  // there without a dialog only then: never over an unrelated file.
  bool CurrentFileIsDocument = false;
  bool GPXLoaded = false;
  bool GPXModified = false;
  bool ZoomAllOnShow = false;
  std::vector<std::unique_ptr<TGPX>> UndoList;
  std::vector<std::string> LastFiles;
  std::string MapPageFileName;
  bool MapPageReady = false;
  uint8_t ActivePane = 0;
  int32_t ElevationCredit = 500000;
  TGPXOptions GPXOptions;
  // The preview: draws the document into GPXImage; owns the preview's drawing options.
  std::unique_ptr<TGPXDraw> PreviewDraw;
  TGMapOptions GMapOptions;
  TStatOptions StatOptions;

  TMainFormHooks Hooks;

protected:
  void FormCreate(const QStringList& arguments);
  void FormShow();
  bool FormCloseQuery();
  void FormDestroy();

  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void BuildWidgets();
  void BuildMenus();
  void ActionQuitExecute();
  void PanelLeftTreeResize();
  void PanelGPXResize();
  void ScrollLogToEnd();
  void ApplyWindowPlacement(bool maximized, int top, int left, int width, int height);

  bool shownOnce_ = false;
  int splitterWidth_ = 150;

  QToolBar* ToolBar1 = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  std::vector<QLabel*> statusPanels_;
  QSplitter* Splitter1 = nullptr;
  QWidget* PanelLeftTree = nullptr;
  QTreeWidget* tvItems = nullptr;
  QPlainTextEdit* mLog = nullptr;
  QWidget* PanelRightTab = nullptr;
  QTabWidget* PageControl1 = nullptr;
  QWidget* TabSheet1 = nullptr;
  QWidget* PanelGPX = nullptr;
  TImageView* GPXImage = nullptr;
  QWidget* BottomPanel = nullptr;
  QMenu* MenuFile = nullptr;
  QMenu* MenuEdit = nullptr;
  QMenu* MenuOptions = nullptr;
  QMenu* MenuHelp = nullptr;
  QAction* Quit1 = nullptr;
};
