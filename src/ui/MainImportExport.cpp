// File/Import (NMEA, NGT, KML into the current document) and File/Export/As KML.
#include "base/Translate.h"
#include "formats/KMLFile.h"
#include "formats/NGTFile.h"
#include "formats/NMEAFile.h"
#include "ui/CommandGuard.h"
#include "ui/FileDialogs.h"
#include "ui/Main.h"
#include "ui/RecentFiles.h"

template <class Reader>
void TMainForm::ImportFile(const std::string& fileName) {
  if (!fileExists(fileName)) {
    AddLog(fileName + " " + _("does not exist"));
    return;
  }
  {
    // The reader keeps its own default options; it appends to the document.
    Reader reader;
    TBusyCursor busy(this);
    reader.GPX = CurrentGPX.get();
    AddLog(_("Opening") + " " + fileNameOnly(fileName));
    reader.Import(fileName);
    LogMessages(reader.Messages);
    // The imported data is saved beside its source, as "<source>.gpx".
    CurrentFileName = fileName + ".gpx";
    CurrentFileIsDocument = true;
    CurrentFileFromImport = true;
    GPXModified = true;
    GPXLoaded = true;
    ShowDocumentInPreview(false);
    setWindowTitle(QString::fromStdString(TitleText(CurrentFileName)));
  }
  RefreshTree();
  ZoomAllOnShow = true;
}

void TMainForm::ImportNMEAFile(const std::string& fileName) { ImportFile<TNMEAFile>(fileName); }
void TMainForm::ImportNGTFile(const std::string& fileName) { ImportFile<TNGTFile>(fileName); }
void TMainForm::ImportKMLFile(const std::string& fileName) { ImportFile<TKMLFile>(fileName); }

namespace {

// An import dialog: no proposal, and a typed name is kept as typed.
TFileDialogRequest importRequest(const std::string& name, const char* pattern) {
  return {"OpenDialog1", "", fileFilter(name, pattern), ""};
}

}  // namespace

void TMainForm::FromNMEA1Click() {
  const auto names = AskFiles(importRequest(_("NMEA files"), "*.nmea"));
  if (!names.empty()) ImportNMEAFile(names.front());
}

void TMainForm::FromNGT1Click() {
  const auto names = AskFiles(importRequest(_("NoniGpsPlot files"), "*.ngt"));
  if (!names.empty()) ImportNGTFile(names.front());
}

void TMainForm::FromKML1Click() {
  const auto names = AskFiles(importRequest(_("Keyhole Markup Language files"), "*.kml"));
  if (!names.empty()) ImportKMLFile(names.front());
}

void TMainForm::AsKML1Click() {
  // Without a document name there is nothing sensible to propose (".kml" alone would be a
  // hidden file).
  const std::string proposal = CurrentFileName.empty() ? std::string() : changeFileExtension(CurrentFileName, ".kml");
  const auto names = AskFiles(
      {"SaveDialog1", proposal, fileFilter(_("Keyhole Markup Language files"), "*.kml"), "kml", true});
  if (names.empty()) return;
  TBusyCursor busy(this);
  TKMLFile writer;
  writer.GPX = CurrentGPX.get();
  writer.Options.Assign(GPXOptions);
  writer.SaveToFile(names.front());
  AddLog(names.front() + " " + _("Saved"));
}
