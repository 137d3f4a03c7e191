// The main window: the document, the tree, the preview, the log pane and the status bar,
// and the window's life from start-up to shut-down.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QCursor>
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

  // ---- Preview tools, command state, editing commands, tree drag and drop ----
public:
  // Enables the commands for the document, the selection and the page shown; Full false
  // (a page without editing) leaves every editing command disabled.
  void UpdateCommands(bool Full);
  // Sets every tool button of ToolBar1 but `button` to not pressed; nullptr releases all.
  void ReleaseToolButtons(QAction* button);

  // The tree and the undo stack.
  void SaveUndoState();
  void RefreshTree();
  void SelectTreeNodes(const TGPXSelection& selection);
  // Drops every reference into the document that no longer points at a part of it.
  void ClearStaleReferences();

  // The preview's mouse; X and Y in GPXImage's pixels.
  void GPXImageMouseDown(Qt::MouseButton button, Qt::MouseButtons buttons,
                         Qt::KeyboardModifiers shift, int X, int Y);
  void GPXImageMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, int X, int Y);
  void GPXImageMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int X, int Y);
  void GPXImageDblClick();
  // The wheel anywhere in the window zooms the pane the mouse was last over; true when
  // it was used.
  bool FormMouseWheel(int delta, const QPoint& globalPos);

  // Editing commands.
  void tbDeleteClick();
  void tbDuplicateClick();
  void Properties1Click();
  void Movealltracksegintothefirsttrack2Click();
  void Removeemptytracks2Click();
  void rasform1pointtracksintowaypoints1Click();
  void Createametadatasection1Click();
  void tbZoomTrackClick();
  void Enabled1Click();

  // Delete's confirmation: true for Yes. Tests replace it.
  std::function<bool(QWidget* parent, const QString& text)> AskYesNo;
  // Tool modes remembered by the two drop-down buttons.
  uint8_t PickMode = 3;
  uint8_t CutterMode = 12;

private:
  void BuildToolsAndCommands();
  void BuildToolButtons();
  void BuildEditCommands();
  void BuildActionList();
  void BuildPreviewMouse();
  // Sets ToolMode and shows its cursor on the preview.
  void SetToolMode(uint8_t mode);
  void ToolCheckClick(QAction* button, uint8_t mode);
  void PickDropDownClick(uint8_t mode);
  void CutterDropDownClick(uint8_t mode);
  void RunPreviewTool(uint8_t mode, Qt::KeyboardModifiers shift, int X, int Y);
  void DrawPreview();
  void ZoomPreview(int which);
  void SetStatusText(int panel, const std::string& text);
  void RemoveTracksWith(const std::function<bool(TGPXtrk&, int segment)>& removeSegment);

  QCursor Cursors[4];  // 1 cut, 2 box cutter, 3 picker
  // Points taken out by the delete-point tool: the view may still show one as its current
  // point, so they live until the document is closed.
  RetiredItems RemovedToolPoints;
  QObject* ActionList1 = nullptr;
  QMenu* pmPick = nullptr;
  QMenu* pmCutter = nullptr;
  QAction *tbZoomFull = nullptr, *tbZoomIn = nullptr, *tbZoomOut = nullptr,
          *tbZoomSelect = nullptr, *tbZoomTrack = nullptr, *tbPickDD = nullptr,
          *tbBindTrack = nullptr, *tbPlantWayPoint = nullptr, *tbCutTrack = nullptr,
          *tbCutSelectedTrack = nullptr, *tbCutterDD = nullptr, *tbDeleteTrackPoint = nullptr,
          *tbDelete = nullptr, *tbDuplicate = nullptr;
  QAction *Pickanything1 = nullptr, *Pickwaypoint1 = nullptr, *Pickroute1 = nullptr,
          *Picktrack1 = nullptr, *Deleteinsquare1 = nullptr,
          *Deleteinsquareonlyseleted1 = nullptr, *Trim1 = nullptr, *TrimonlySelected1 = nullptr;
};
