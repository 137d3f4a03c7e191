// The file commands: reading a GPX file into the document, Open, Add, Re-open with its
// submenu, dropped files, Close, Save and Save as, and the file named at start-up.
#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTreeWidget>

#include "base/NumberText.h"
#include "base/Translate.h"
#include "formats/GPXFile.h"
#include "platform/ProgramVersion.h"
#include "ui/CommandGuard.h"
#include "ui/FileDialogs.h"
#include "ui/FileDrop.h"
#include "ui/Main.h"
#include "ui/QtText.h"
#include "ui/RecentFiles.h"
#include "ui/TreeNodes.h"

namespace {

bool hasData(const TGPX& gpx) {
  return gpx.Waypoints.Count() > 0 || gpx.Routes.Count() > 0 || gpx.Tracks.Count() > 0 || gpx.Metadata.Present ||
         !gpx.Extension.Text.empty();
}

// The file the debug mode's Open and Add dialogs propose.
const char* const kDebugFile = "../Data/test_alltype.gpx";

}  // namespace

void TMainForm::OpenGPXFile(const std::string& name) {
  // A copy: callers hand in CurrentFileName itself, or a name owned by a menu item.
  const std::string fileName = name;
  CurrentFileName = fileName;
  if (!fileExists(fileName)) {
    AddLog(CurrentFileName + " " + _("does not exist"));
    return;
  }
  rememberRecentFile(LastFiles, fileName);
  BuildReopenMenu();

  TGPXFile reader;
  reader.GPX = CurrentGPX.get();
  reader.Options.Assign(GPXOptions);
  // Runs whether or not the read throws: what the reader said, and the loaded flag. A read
  // that fails keeps the data already shown, and no read forgets unsaved changes.
  auto finish = [&] {
    LogMessages(reader.Messages);
    GPXLoaded = reader.Loaded || (GPXLoaded && hasData(*CurrentGPX));
    // Save writes over the file only when it was read: never over a file that is not GPX.
    CurrentFileIsDocument = reader.Loaded;
    CurrentFileFromImport = false;
  };
  {
    TBusyCursor busy(this);
    mLog->clear();
    AddLog(_("Opening") + " " + fileNameOnly(fileName));
    try {
      reader.LoadFromFile(fileName);
    } catch (...) {
      finish();
      throw;
    }
  }
  finish();
  RefreshTree();
  ZoomAllOnShow = true;
  // A read that leaves nothing loaded leaves the window as Close does: no document in the
  // preview, so nothing to save or close. A document already shown stays shown.
  if (GPXLoaded) ShowDocumentInPreview(true);
  if (reader.Loaded) setWindowTitle(qs(TitleText(CurrentFileName)));
  UpdateCommands(true);
}

std::vector<std::string> TMainForm::AskFiles(const TFileDialogRequest& request) {
  return Hooks.AskFileNames(this, request);
}

void TMainForm::ActionOpenGPXFileExecute() {
  if (!ActionCloseCurrentGPXExecute()) return;
  if (IsDebug) CurrentFileName = kDebugFile;
  const auto names = AskFiles({"OpenDialog1", CurrentFileName, fileFilter(_("GPX files"), "*.gpx"), "gpx"});
  if (names.empty()) return;
  CurrentFileName = names.front();
  OpenGPXFile(CurrentFileName);
}

void TMainForm::AddGPXtocurrentdata1Click() {
  // The debug file is proposed, but a document that belongs to a file keeps its name.
  if (IsDebug && !CurrentFileIsDocument) CurrentFileName = kDebugFile;
  TFileDialogRequest request{"OpenDialog1", IsDebug ? kDebugFile : CurrentFileName,
                             fileFilter(_("GPX files"), "*.gpx"), "gpx"};
  request.Multiple = true;
  const auto names = AskFiles(request);
  if (names.empty()) return;
  if (!CurrentFileIsDocument) CurrentFileName = names.front();
  for (const std::string& name : names) {
    if (!fileExists(name)) continue;
    AddLog(_("Loading") + " " + fileNameOnly(name));
    AddGPXFile(name);
  }
}

void TMainForm::ReopenItemClick(const std::string& name) {
  const std::string fileName = name;  // the item goes when the menu is rebuilt
  if (!fileExists(fileName)) return;
  if (!ActionCloseCurrentGPXExecute()) return;
  CurrentFileName = fileName;
  OpenGPXFile(CurrentFileName);
}

void TMainForm::BuildReopenMenu() {
  Reopen1->clear();
  const auto shown = recentFilesShown(LastFiles, GPXOptions.FileHistory);
  for (const std::string& name : shown) {
    // A '&' in a file name is text, not a mnemonic.
    auto* item = Reopen1->addAction(qs(name).replace("&", "&&"));
    item->setToolTip(qs(name));
    item->setStatusTip(qs(name));
    item->setEnabled(fileExists(name));
    connect(item, &QAction::triggered, this, [this, name] { RunGuarded(this, [&] { ReopenItemClick(name); }); });
  }
  Reopen1->setToolTipsVisible(true);
  Reopen1->menuAction()->setEnabled(!shown.empty());
}

void TMainForm::DropFiles(const std::vector<std::string>& fileNames) {
  for (const std::string& name : fileNames) {
    if (!fileExists(name)) continue;
    const std::string extension = fileExtension(name);
    // A refused file does not become the document's name: Save must not write over it.
    if (extension == ".gpx") {
      AddLog(_("Loading") + " " + fileNameOnly(name));
      AddGPXFile(GetLongFileName(name));
    } else if (extension == ".nmea") {
      CurrentFileName = name;
      AddLog(_("Loading") + " " + fileNameOnly(name));
      ImportNMEAFile(GetLongFileName(name));
    } else {
      AddLog(_("Unsupported file type") + " : " + fileNameOnly(name));
    }
  }
}

bool TMainForm::ActionCloseCurrentGPXExecute() {
  if (!PreviewDraw || !PreviewDraw->GPX) {
    // Nothing shown, but the Edit menu's commands may have pushed copies of the empty
    // document: an Undo after the next Open must not bring them back over the file's data.
    if (!hasData(*CurrentGPX)) {
      UndoList.clear();
      GPXModified = false;
    }
    return true;
  }
  if (!QuerySaveChanges()) return false;
  PageControl1->setCurrentIndex(0);
  {
    const QSignalBlocker block(tvItems);
    tvItems->clear();
  }
  ShowPreviewBackground();
  auto preview = std::make_unique<TGPXDraw>();
  preview->Options.Assign(PreviewDraw->Options);
  preview->Debug = PreviewDraw->Debug;
  PreviewDraw = std::move(preview);
  ResetPreviewTools();

  AddLog(_("Closing") + " " + fileNameOnly(CurrentFileName));
  RetiredDocuments.push_back(std::move(CurrentGPX));
  UndoList.clear();
  CurrentGPX = std::make_unique<TGPX>();
  {
    const QSignalBlocker block(tvItems);
    setTreeNode(new QTreeWidgetItem(tvItems), TreeNodeKind::Document, CurrentGPX.get(), "GPX", 1);
  }
  GPXModified = false;
  // The name stays as the dialogs' proposal, but the file no longer holds this document:
  // whatever is built after Close is saved only where the user says.
  CurrentFileIsDocument = false;
  CurrentFileFromImport = false;
  setWindowTitle(qs(TitleText()));
  ReleaseStaleReferences();
  ClearStatusText();
  return true;
}

bool TMainForm::WriteGPX(const std::string& fileName) {
  CurrentGPX->Creator = "Corvantel " + GetFileVersionString();
  Hooks.WriteDocument(*CurrentGPX, GPXOptions, fileName);
  return true;
}

bool TMainForm::ActionSaveGPXExecute() {
  // Only a file the document was read from or saved to is written without a dialog; an
  // import's "<source>.gpx" only while no file of that name would be replaced.
  if (!CurrentFileIsDocument || CurrentFileName.empty() || (CurrentFileFromImport && fileExists(CurrentFileName)))
    return ActionSaveGPXAsExecute();
  WriteGPX(CurrentFileName);
  CurrentFileFromImport = false;
  AddLog(CurrentFileName + " " + _("saved"));
  GPXModified = false;
  return true;
}

bool TMainForm::ActionSaveGPXAsExecute() {
  const auto names =
      AskFiles({"SaveDialog1", CurrentFileName, fileFilter(_("GPX Files"), "*.gpx"), "gpx", true});
  if (names.empty()) return false;
  CurrentFileName = names.front();
  TBusyCursor busy(this);
  WriteGPX(CurrentFileName);
  CurrentFileIsDocument = true;
  CurrentFileFromImport = false;
  setWindowTitle(qs(TitleText(CurrentFileName)));
  AddLog(CurrentFileName + " " + _("Saved"));
  GPXModified = false;
  return true;
}

void TMainForm::OpenStartUpFile(const std::vector<std::string>& arguments) {
  BuildReopenMenu();
  if (!arguments.empty()) {
    CurrentFileName = arguments.front();
    if (fileExists(CurrentFileName)) {
      const std::string extension = fileExtension(CurrentFileName);
      if (extension == ".gpx")
        RunGuarded(this, [this] { OpenGPXFile(GetLongFileName(CurrentFileName)); });
      else if (extension == ".nmea")
        RunGuarded(this, [this] { ImportNMEAFile(GetLongFileName(CurrentFileName)); });
    }
  }
  PanelGPX->setAcceptDrops(true);
  installFileDrop(PanelGPX, [this](const std::vector<std::string>& names) {
    RunGuarded(this, [&] { DropFiles(names); });
  });
}
