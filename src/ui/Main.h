// The main window: the document, the tree, the preview, the log pane and the status bar,
// and the window's life from start-up to shut-down.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QCursor>
#include <QImage>
#include <QMainWindow>

#include "model/DocumentIndex.h"
#include "model/GPX.h"
#include "model/RetiredItems.h"
#include "platform/FileAssociations.h"
#include "platform/ProxyStore.h"
#include "views/GPXDraw.h"
#include "views/DrawOptions.h"
#include "views/GMapOptions.h"
#include "views/StatOptions.h"
#include "views/GPXStat.h"
#include "ui/MapScriptSettings.h"
#include "views/GPXToGmap.h"

class IniFile;
class QAction;
class QDialog;
class TWayPointPropertiesForm;
class QImage;
class QLabel;
class QMenu;
class QMimeData;
class QTimer;
class QPlainTextEdit;
class QProgressBar;
class TWebBrowser;
class QSplitter;
class QStatusBar;
class QTabWidget;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;
class TImageView;
// The track editing block's classes.
class QComboBox;
class QPushButton;
class QSlider;
class QSpinBox;
class TTrackEditForm;
// The point list block's classes.
class QTableView;

// The process-wide debug flag, read from the settings file: log lines get a time prefix.
extern bool IsDebug;

enum class TQuestionAnswer { Yes, No, Cancel };

// One file dialog: what it proposes and what it accepts.
struct TFileDialogRequest {
  std::string ObjectName;     // "OpenDialog1" or "SaveDialog1"
  std::string FileName;       // the proposed name
  std::string Filter;         // Qt form: "GPX files (*.gpx);;All files (*)"
  std::string DefaultSuffix;  // without the dot; empty for none
  bool Save = false;
  bool Multiple = false;
};

// What the window asks of the user and of the world, replaceable by tests.
struct TMainFormHooks {
  // A box with Yes, No and Cancel and the question icon.
  std::function<TQuestionAnswer(QWidget* parent, const QString& title, const QString& text)>
      AskYesNoCancel;
  // A file dialog; the chosen names, none on Cancel.
  std::function<std::vector<std::string>(QWidget* parent, const TFileDialogRequest& request)> AskFileNames;
  // Writes the document as GPX; throws when it cannot.
  std::function<void(TGPX& gpx, const TGPXOptions& options, const std::string& fileName)> WriteDocument;
  // The system's default beep.
  std::function<void()> Beep;
  // Local date-time now.
  std::function<double()> Now;
  // Reads the settings file into `ini`: false when there is none, or, with `error` set,
  // when it is there but cannot be read.
  std::function<bool(IniFile& ini, std::string& error)> ReadSettingsFile;
  // The user's proxy settings; from the environment when not given.
  std::shared_ptr<ProxyStore> Proxy;
};
TMainFormHooks DefaultMainFormHooks();

class QDialog;
class TSettingsForm;

class TMainForm : public QMainWindow {
  Q_OBJECT
public:
  // `arguments` are the command-line arguments after the program name, as their bytes.
  explicit TMainForm(const std::vector<std::string>& arguments = {}, TMainFormHooks hooks = DefaultMainFormHooks(),
                     QWidget* parent = nullptr);
  ~TMainForm() override;

  void AddLog(const std::string& text);
  void LoadSettings();
  void SaveSettings();
  void ReadProxySettings();
  void WriteProxySettings();
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
  // The browser shows a page written with the document's data on it: the snapshot's one
  // condition, as a blank or stale map is no picture worth keeping.
  bool MapPageShowsData = false;
  uint8_t ActivePane = 0;
  int32_t ElevationCredit = 500000;
  TGPXOptions GPXOptions;
  // The preview: draws the document into GPXImage; owns the preview's drawing options.
  std::unique_ptr<TGPXDraw> PreviewDraw;
  TGMapOptions GMapOptions;
  TStatOptions StatOptions;

  TMainFormHooks Hooks;

  // ---- the item tree, the file, import and export commands, undo ----
  // Rebuilds the tree from the document; keeps the expanded path of the first selected node.
  void RefreshTree();
  // Shows the nodes of these objects selected, without running the selection change.
  void SelectTreeNodes(const std::vector<TItem*>& items);
  void tvItemsChange();
  void tvItemsEdited(QTreeWidgetItem* node, const QString& text);
  void pmTreeViewPopup();
  void Delete1Click();
  void Bindalltracksegments1Click();
  void Sortbydate1Click();
  void MovetoanewTrack1Click();

  void SaveUndoState();
  void ActionUndoExecute();
  void UndoLast();

  void OpenGPXFile(const std::string& fileName);
  void ActionOpenGPXFileExecute();
  void AddGPXtocurrentdata1Click();
  void ReopenItemClick(const std::string& fileName);
  void BuildReopenMenu();
  void DropFiles(const std::vector<std::string>& fileNames);
  // False when the user kept a modified document (Cancel, or a save that did not happen).
  bool ActionCloseCurrentGPXExecute();
  // Save to the document's own file, or through Save as when it has none; false when
  // nothing was written (cancelled).
  bool ActionSaveGPXExecute();
  bool ActionSaveGPXAsExecute();
  void ImportNMEAFile(const std::string& fileName);
  void ImportNGTFile(const std::string& fileName);
  void ImportKMLFile(const std::string& fileName);
  void FromNMEA1Click();
  void FromNGT1Click();
  void FromKML1Click();
  void AsKML1Click();
  // Enables the commands for the current document, selection and tab.
  void UpdateCommands(bool Full);

  // After Undo, Close and every structural change: every reference into the document
  // (the preview's, the selection's, the tree path's and each registered check's) that no
  // longer points at a live item is cleared; then the retired items and documents are freed.
  void ReleaseStaleReferences();
  // Further holders of references register their check here.
  std::vector<std::function<void(const TDocumentIndex&)>> ReferenceChecks;
  // Items unlinked from the document and documents replaced, kept until the next release.
  RetiredItems Retired;
  std::vector<std::unique_ptr<TGPX>> RetiredDocuments;

protected:
  void FormCreate(const std::vector<std::string>& arguments);
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
  // Why the settings file could not be read at start-up; while set, it is never written.
  std::string settingsReadError_;

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

  // ---- the item tree, the file, import and export commands, undo ----
  void BuildFileCommands();
  void BuildTreeCommands();
  void OpenStartUpFile(const std::vector<std::string>& arguments);
  void SaveTreeSelectionPath();
  void ExpandTreeSelectionPath();
  // Draws the document into the preview and shows it.
  void DrawPreview();
  // The preview's background alone, when there is nothing to draw.
  void ShowPreviewBackground();
  // Hands the document to the preview, fits it and draws it; logs the preview's messages.
  void ShowDocumentInPreview(bool shrink);
  // A message list as one text, trimmed, into the log pane when not empty.
  void LogMessages(const std::vector<std::string>& lines);
  bool WriteGPX(const std::string& fileName);
  template <class Reader>
  void ImportFile(const std::string& fileName);
  std::vector<std::string> AskFiles(const TFileDialogRequest& request);

  std::vector<std::pair<QString, const void*>> treePath_;  // root first
  QMenu* Reopen1 = nullptr;
  QMenu* Import1 = nullptr;
  QMenu* Export1 = nullptr;
  QMenu* pmTreeView = nullptr;
  QAction* OpenGPX1 = nullptr;
  QAction* AddGPXtocurrentdata1 = nullptr;
  QAction* SaveGPX1 = nullptr;
  QAction* SaveGPXas1 = nullptr;
  QAction* ClearGPX1 = nullptr;
  QAction* FromNMEA1 = nullptr;
  QAction* FromNGT1 = nullptr;
  QAction* FromKML1 = nullptr;
  QAction* AsKML1 = nullptr;
  QAction* Undo1 = nullptr;
  QAction* tbOpenGPX = nullptr;
  QAction* tbSaveGPX = nullptr;
  QAction* tbSaveGPXAs = nullptr;
  QAction* tbClearGPX = nullptr;
  QAction* tbUndo = nullptr;
  QAction* ActionOpenGPXFile = nullptr;
  QAction* ActionSaveGPX = nullptr;
  QAction* ActionUndo = nullptr;
  QAction* Delete1 = nullptr;
  QAction* MovetoanewTrack1 = nullptr;
  QAction* Bindalltracksegments1 = nullptr;
  QAction* Sortbydate1 = nullptr;

  // ---- Preview tools, command state, editing commands, tree drag and drop ----
public:
  // Sets every tool button of ToolBar1 but `button` to not pressed; nullptr releases all.
  void ReleaseToolButtons(QAction* button);

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

  // Drag and drop in the tree. The drag's data names the tree: only its own drops count.
  static const char* TreeNodeMimeType();
  QMimeData* TreeDragData() const;
  void tvItemsStartDrag();
  bool tvItemsDragOver(bool fromTree, const QPoint& pos);
  void tvItemsDragDrop(bool fromTree, const QPoint& pos);
  void tvItemsDragLeave();
  void tvItemsEndDrag();
  // Runs a whole drag of the current node, from its start to its end.
  void RunTreeDrag();
  QTreeWidgetItem* DraggedNode = nullptr;

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
  void BuildTreeDragDrop();
  // Sets ToolMode and shows its cursor on the preview.
  void SetToolMode(uint8_t mode);
  // A new preview starts panning with no tool button down; the points the delete-point
  // tool kept go.
  void ResetPreviewTools();
  void ToolCheckClick(QAction* button, uint8_t mode);
  void PickDropDownClick(uint8_t mode);
  void CutterDropDownClick(uint8_t mode);
  void RunPreviewTool(uint8_t mode, Qt::KeyboardModifiers shift, int X, int Y);
  void ZoomPreview(int which);
  void SetStatusText(int panel, const std::string& text);
  // Empties the three panels when nothing is selected any more (Undo, Close).
  void ClearStatusText();

  bool NodeVisible(const QTreeWidgetItem* node, bool& visible) const;

  QCursor Cursors[4];  // 1 cut, 2 box cutter, 3 picker
  // Points taken out by the delete-point tool, kept until the document is closed.
  RetiredItems RemovedToolPoints;
  QObject* ActionList1 = nullptr;
  QAction* Enabled1 = nullptr;
  QTimer* TimerTreeView = nullptr;
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

  // ---- unsaved work: the close question, the file a document belongs to, undo memory ----
public:
  // The close question on a modified document, as at shut-down: true when the caller may go
  // on (saved, or No); false on Cancel or when the save was cancelled or failed.
  bool QuerySaveChanges();
  // CurrentFileName was made by an import ("<source>.gpx"): Save writes there only while no
  // such file exists, else it asks through Save as.
  bool CurrentFileFromImport = false;
  // The undo copies are kept within this many bytes, estimated from their points; the
  // oldest copy goes first.
  uint64_t UndoMemoryLimit = uint64_t(1) << 30;

private:
  // Add GPX and dropped files: reads a GPX file into the document. A document that already
  // belongs to a file keeps it: Save must not write to the file added last.
  void AddGPXFile(const std::string& fileName);
  // Estimated bytes of each undo copy, oldest first, as UndoList.
  std::vector<uint64_t> undoSizes_;

  // ---- Track editing: Edit track points with its dialog, and the hidden edition page ----
public:
  // Edit track points (the tree's pop-up) and the Filter button.
  void Edittrackpoints1Click();
  void tbFilterClick();
  TTrackEditForm* TrackEditForm = nullptr;

  // The edition page: one of ten filters on a copy of the selected route or segment.
  void TabSheet3Show();
  void cbEditionChange();
  void tbEditionChange();
  void udEditionChangingEx(int value);
  void bApplyEDTClick();
  void PreviewEdition(int Value);
  static void ApplyEditionFilter(TGPXwptList* List, int FilterIndex, int Value);
  bool EditionIsRoute = false;
  int EditionPointCount = 0;
  // The page's source and result views (panes 3 and 4) with their own documents.
  std::unique_ptr<TGPXDraw> TRESrcDraw, TREDstDraw;
  // The edition views' mouse; `pane` 3 is the source, 4 the result.
  void TREImageMouseDown(uint8_t pane, int X, int Y);
  void TREImageMouseMove(uint8_t pane, Qt::MouseButtons buttons, int X, int Y);
  void TREImageMouseUp(uint8_t pane, int X, int Y);
  void TREImageDblClick(uint8_t pane);
  void TREImageResize(uint8_t pane);
  bool TREImageMouseWheel(uint8_t pane, int delta, const QPoint& globalPos);

private:
  void BuildTrackEdit();
  void BuildEditionPage();
  bool EditionPageActive() const;
  // After the tree's selection changed: the edition page follows while it shows.
  void EditionSelectionChanged();
  // The statistics graph follows an edit of the track editing dialog or the edition page.
  void UpdateStatGraphAfterEdit();
  TGPXDraw& TREDraw(uint8_t pane) { return pane == 3 ? *TRESrcDraw : *TREDstDraw; }
  TImageView* TREImage(uint8_t pane) { return pane == 3 ? TRESrcImage : TREDstImage; }
  std::unique_ptr<TGPX> TRESrcGPX, TREDstGPX;
  QAction *Edittrackpoints1 = nullptr, *tbFilter = nullptr;
  QWidget *TabSheet3 = nullptr, *pTRESource = nullptr, *pTREDest = nullptr, *pTRE = nullptr;
  QSplitter* Splitter2 = nullptr;
  TImageView *TRESrcImage = nullptr, *TREDstImage = nullptr;
  QComboBox* cbEdition = nullptr;
  QSlider* tbEdition = nullptr;
  QSpinBox* udEdition = nullptr;
  QPushButton* bApplyEDT = nullptr;

  // ---- altitude shift, time anonymizing and elevation downloads (MainAltitude.cpp) ----
public:
  void Shiftaltitude1Click();
  void Anonymizetime1Click();
  void Downloadallwaypointsaltitude1Click();
  void Downloadmap1Click();
  // Created once with the window; any dialog may open the download dialog on its points.
  class TShiftAltitudeForm* ShiftAltitudeForm = nullptr;
  class TAltitudeDownloadForm* AltitudeDownloadForm = nullptr;

private:
  void BuildAltitudeCommands();

  // ---- Property dialogs: Properties on the selected item, the dialogs' edit-and-replace cycle ----
public:
  // The tree's double-click: Properties, whether or not its menu item is enabled.
  void tvItemsDblClick();
  // Opens the waypoint dialog on a copy of a point of the document; on OK the copy takes the
  // point's place in `owner`, the list that holds it (found in the document when not given),
  // with one undo step, and the selection becomes the list (the edited waypoint itself when
  // `owner` is not given and it is a waypoint). True on OK. The point grid's double-click and
  // the graph's Properties call this with their list, then refresh their own view.
  bool EditWayPointProperties(TGPXwpt* point, TGPXwptList* owner = nullptr);
  // Shows a dialog modally and gives its result; tests replace it.
  std::function<int(QDialog* dialog)> ShowDialog;
  TWayPointPropertiesForm* WayPointPropertiesForm = nullptr;

private:
  void BuildPropertyDialogs();
  // Properties on one item, by its kind.
  void OpenItemProperties(TItem* item);
  QAction* Properties1 = nullptr;

  // ---- the web map tab: page file, page-to-host protocol, drawing on the map ----
public:
  // The map tab's show event: writes the page of the current document and loads it.
  void TabSheet4Show();
  // The browser's events: a status text the page set, the loading progress, the end.
  void wbGMapStatusTextChange(const QString& Text);
  void wbGMapProgressChange(int Progress, int ProgressMax);
  void wbGMapDownloadComplete();
  void pGMapClick();
  void tbGMapAddWayPointClick();
  void tbGMapDrawRouteClick();
  // A "Click " or "Popup " text while a route is drawn on the map.
  void AddMapRoutePoint(const std::string& S);
  // Runs one script statement in the map page; nothing before the browser exists.
  void RunMapScript(const std::string& statement);
  // Shows the page's green marker at a position; only once the page has reported its area.
  void MoveGreenMarker(double lat, double lng);
  // What the map view shows now, at the view's size; a null image before the first showing.
  QImage MapSnapshot();
  // The web map page's generator; its MapBBox holds the area the page last reported.
  std::unique_ptr<TGMap> GMap;
  // The route being drawn on the map, outside the document until the button is released.
  std::unique_ptr<TGPXrte> MapRoute;
  // For the page last written, the waypoint each marker index stands for: a marker whose
  // waypoint left the document stands for nothing.
  std::vector<TGPXwpt*> MapMarkers;
  // A waypoint took the place of another as its edited copy: its marker moves it from now on.
  void MapMarkersFollow(const TGPXwpt* from, TGPXwpt* to);
  // Base-map tile addresses, handed to the page's script library.
  TMapScriptSettings MapScript;

private:
  void BuildMapTab();
  // The page of the current document.
  std::string MapPageText();
  void MoveMapWaypoint(std::string S);
  // The map tab's browser, made when the tab is first shown.
  TWebBrowser* MapBrowser();
  QWidget* TabSheet4 = nullptr;
  QToolBar* ToolBar2 = nullptr;
  TWebBrowser* wbGMap = nullptr;
  QLabel* pGMap = nullptr;
  QProgressBar* pbGMap = nullptr;
  QAction *tbGMapAddWayPoint = nullptr, *tbGMapDrawRoute = nullptr, *tbGMapScreenShot = nullptr;
  // ---- end of the web map tab ----

  // ---- route, track and metadata properties, the About box (MainItemProperties.cpp) ----
public:
  // Properties on a route, a track, a track segment (its track's dialog) or the metadata;
  // false for any other item, which the caller then handles.
  bool OpenLinePropertiesOf(TItem* item);
  // Each dialog edits a copy; on OK the copy takes the item's place with one undo step. True
  // on OK. A track edited from one of its segments selects that segment again.
  bool EditRouteProperties(TGPXrte* route);
  bool EditTrackProperties(TGPXtrk* track, int segmentIndex = -1);
  bool EditMetadataProperties();
  void About1Click();
  class TRoutePropertiesForm* RoutePropertiesForm = nullptr;
  class TTrackPropertiesForm* TrackPropertiesForm = nullptr;
  class TMetadataPropertiesForm* MetadataPropertiesForm = nullptr;
  class TAboutBox* AboutBox = nullptr;

private:
  void BuildItemPropertyDialogs();
  // After an edited copy took its item's place: the document is modified, `selected` is the
  // selection, and the tree and the views follow.
  void ShowEditedItem(TItem* selected);
  QAction* About1 = nullptr;

  // ---- the statistics graph: its pane, mouse, pop-up commands, graph picture, map snapshot ----
public:
  std::unique_ptr<TGPXStat> GPXStat;
  // The plotted point under the mouse at the last move over the graph; cleared with the graph.
  TStatPoint* CurrentGraphPoint = nullptr;
  // Chooses the graphs the preview's current list allows and draws the checked one; clears
  // the graph when there is no list of at least 2 points.
  void UpdateStatGraph();
  void ShowGraphValueAt(TStatPoint* point);
  // The point description of the preview's current point in status panel 2.
  void ShowPointInfo(const std::string& prefix);
  void BottomLeftPanelResize();
  void TabSheet1Show();
  void GPXStatImageMouseDown(Qt::MouseButtons shift, int X);
  void GPXStatImageMouseMove(Qt::MouseButtons shift, int X, int Y);
  void GPXStatImageMouseUp(Qt::MouseButton button, int X);
  void GPXStatImageDblClick();
  // The wheel over the graph pane zooms it; true when it was used.
  bool GPXStatMouseWheel(int delta, const QPoint& globalPos);
  void pmAltitudePopup();
  void miStatGraphDistanceClick();
  void Properties2Click();
  void Plantawaypoint1Click();
  void Cuthere1Click();
  void Delete2Click();
  void imSelectionZoomGraphClick();
  void imSelectionZoomGraphPreviewClick();
  void imSelectionCopyToNewClick();
  void imSelectionDeleteClick();
  void imSelectionTrimClick();
  void imValueDeleteBelowClick();
  void imValueDeleteAboveClick();
  void Savepicture1Click();
  // The map snapshot from the browser's picture at the control's size: a 2-pixel border is
  // cut off, the picture saved as "GoogleMap-<stamp>.jpg", and by the options and the map's
  // visible box the ".sat" and ".map" files beside it.
  void SaveMapSnapshot(const QImage& browserPicture, const TBBox& mapBox);
  // The map tab's snapshot button: what the browser shows, with the area the page reported.
  void tbGMapScreenShotClick();

  // Filled by the point list tab, which follows the point under the graph's mouse: select
  // the grid row of the point at this index of its list.
  std::function<void(int index)> SelectPointListRow;

private:
  void BuildGraphPane();
  void BuildGraphMenu();
  std::string CurrentTabName() const;
  // Clears the graph and the point taken from it, and shows the cleared pane.
  void ClearStatGraph();
  // Points SelStart and SelEnd as indexes of the graph's source list; false when not found.
  bool GraphSelectionIndexes(int& i1, int& i2) const;
  // Delete (keep false) or Trim (keep true) of the selected range.
  void CutGraphSelection(bool keep);
  void DeleteGraphValues(bool below);
  // After a graph command changed the document: selection, tree, references, preview.
  void FinishGraphEdit(TItem* select);
  QWidget* BottomLeftPanel = nullptr;
  TImageView* GPXStatImage = nullptr;
  QMenu* pmAltitude = nullptr;
  QMenu *N8 = nullptr, *Point1 = nullptr, *Selection1 = nullptr, *Value1 = nullptr;
  QAction *miStatGraphAltitude = nullptr, *miStatGraphSpeed = nullptr, *miStatGraphAngle = nullptr,
          *miStatGraphDistance = nullptr, *miStatGraphSatellitesused = nullptr, *miStatGraphHDOP = nullptr;
  QAction *Properties2 = nullptr, *Plantawaypoint1 = nullptr, *Cuthere1 = nullptr, *Delete2 = nullptr;
  QAction *imSelectionZoomGraph = nullptr, *imSelectionZoomGraphPreview = nullptr,
          *imSelectionCopyToNew = nullptr, *imSelectionDelete = nullptr, *imSelectionTrim = nullptr;
  QAction *imValueDeleteBelow = nullptr, *imValueDeleteAbove = nullptr, *Savepicture1 = nullptr,
          *Cancel1 = nullptr;
  // ---- end of the statistics graph ----

  // ---- the point list tab: the points of the selected list in a grid ----
public:
  // The page's show handler: enables the page for one suitable selected item and fills the
  // grid with its points.
  void TabSheet2Show();
  void FillPointList(TGPXwptList* List, QTableView* Grid);
  // A row's click selects its point; its double-click edits the point.
  void sgPointListClick();
  void sgPointListDblClick();
  // Selects the row of the point at this index of the list shown (the graph's marker).
  void SelectGridRow(int index);
  // The list last shown in the grid, not owned; cleared with the grid when the list leaves
  // the document.
  TGPXwptList* PointGridList = nullptr;

private:
  void BuildPointListPage();
  bool PointListPageActive() const;
  // After the tree's selection changed: the page follows while it shows.
  void PointListSelectionChanged();
  QWidget* TabSheet2 = nullptr;
  QTableView* sgPointList = nullptr;
  // ---- end of the point list tab ----

  // ---- settings dialog, clipboard copy and paste, file associations ----
public:
  // Options/Settings: the dialog edits copies of the four option objects; OK copies them
  // back, redraws the views, writes the proxy store and empties the recent files when the
  // history depth is 0.
  void Settings1Click();
  // Copy: the selected waypoint, route, track or list as a GPX document in our private
  // clipboard format, with a plain text beside it. Paste: appends what it holds.
  void Copy1Click();
  void Paste1Click();
  void AssociatefithGPXfiles1Click();
  void AssociatewithNMEAfiles1Click();
  // Runs a modal dialog and returns its result; tests answer in its place.
  std::function<int(QDialog* dialog)> RunSettingsDialog;
  // The user's desktop files the associations edit, and the program they start; tests
  // point them elsewhere.
  std::function<DesktopFolders()> AssociationFolders;
  std::function<std::string()> AssociationProgram;
  TSettingsForm* SettingsForm = nullptr;

private:
  void BuildSettingsCommands();
  void BuildClipboardCommands();
  // Copy for a waypoint, route, track or list node; Paste for a node with data while the
  // clipboard holds our format.
  void UpdateClipboardCommands();
  // After the settings dialog's OK: every view draws itself with the options copied back.
  void RedrawViewsAfterSettings();
  void AssociateFileType(const FileTypeAssociation& type, const std::string& question,
                         const std::string& done);
  QAction *Settings1 = nullptr, *Copy1 = nullptr, *Paste1 = nullptr,
          *AssociatefithGPXfiles1 = nullptr, *AssociatewithNMEAfiles1 = nullptr;
  // ---- end of settings dialog, clipboard, file associations ----

  // ---- what a programmatic tree selection shows ----
private:
  // SelectTreeNodes runs no selection change; an edit that re-selects its item still shows it
  // as one would: the selected route or segment becomes the graph's list, and the status bar
  // describes the selected node.
  void ShowTreeSelection();
  // The three status panels for a node as the selection change writes them; emptied for none.
  void ShowNodeStatus(QTreeWidgetItem* node);
  // ---- end of what a programmatic tree selection shows ----
};
