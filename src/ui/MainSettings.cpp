// The Options menu: the settings dialog's round trip and the two file associations.
#include <QAction>
#include <QMenu>
#include <QMessageBox>
#include <QTabWidget>

#include "base/Translate.h"
#include "platform/AppPaths.h"
#include "ui/CommandGuard.h"
#include "ui/ImageView.h"
#include "ui/Main.h"
#include "ui/QtText.h"
#include "ui/dialogs/Settings.h"

void TMainForm::BuildSettingsCommands() {
  if (!RunSettingsDialog) RunSettingsDialog = [](QDialog* dialog) { return dialog->exec(); };
  if (!AssociationFolders) AssociationFolders = desktopFoldersFromEnvironment;
  // The path's own bytes: Qt's text of a path that is not UTF-8 names another file.
  if (!AssociationProgram) AssociationProgram = AppPaths::executableFile;
  // Created once and reused: it keeps the page last shown.
  SettingsForm = new TSettingsForm(this);
  BuildClipboardCommands();

  auto item = [this](const std::string& caption, const char* name, std::function<void()> run) {
    auto* action = MenuOptions->addAction(qs(caption));
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, [this, run] { RunGuarded(this, run); });
    return action;
  };
  Settings1 = item(_("&Settings..."), "Settings1", [this] { Settings1Click(); });
  MenuOptions->addSeparator();
  AssociatefithGPXfiles1 = item(_("&Associate with GPX files..."), "AssociatefithGPXfiles1",
                                [this] { AssociatefithGPXfiles1Click(); });
  AssociatewithNMEAfiles1 = item(_("Associate with &NMEA files..."), "AssociatewithNMEAfiles1",
                                 [this] { AssociatewithNMEAfiles1Click(); });
}

void TMainForm::Settings1Click() {
  TSettingsForm& f = *SettingsForm;
  f.GMapOptions.Assign(GMapOptions);
  f.DrawOptions.Assign(PreviewDraw->Options);
  f.StatOptions.Assign(StatOptions);
  f.GPXOptions.Assign(GPXOptions);
  if (RunSettingsDialog(&f) != QDialog::Accepted) return;
  GPXOptions.Assign(f.GPXOptions);
  GMapOptions.Assign(f.GMapOptions);
  PreviewDraw->Options.Assign(f.DrawOptions);
  for (uint8_t pane : {3, 4}) TREDraw(pane).Options.Assign(f.DrawOptions);
  StatOptions.Assign(f.StatOptions);
  RedrawViewsAfterSettings();
  WriteProxySettings();
  if (GPXOptions.FileHistory == 0) {
    LastFiles.clear();
    BuildReopenMenu();
  }
}

void TMainForm::RedrawViewsAfterSettings() {
  if (GPXLoaded && PreviewDraw->GPX && PreviewDraw->Canvas)
    DrawPreview();
  else
    ShowPreviewBackground();  // its colour may have changed
  // The two previews of the track and route edition page.
  for (uint8_t pane : {3, 4}) {
    TGPXDraw& view = TREDraw(pane);
    if (!view.GPX || !view.Canvas) continue;
    view.Draw();
    TREImage(pane)->update();
  }
  // The map page is written with the options when its tab is shown: a map showing now is
  // written anew.
  if (PageControl1->currentWidget() == TabSheet4) TabSheet4Show();
  // The graph: an empty pane is cleared with the new colours too.
  if (GPXStat) GPXStat->Options.Assign(StatOptions);
  UpdateStatGraph();
}

void TMainForm::AssociatefithGPXfiles1Click() {
  AssociateFileType(gpxFileType(_("GPS Exchange file")),
                    _("Do you want to open all the GPX files with this program ?"),
                    _("GPX files are now associated with Corvantel"));
}

void TMainForm::AssociatewithNMEAfiles1Click() {
  AssociateFileType(nmeaFileType(), _("Do you want to open all the NMEA files with this program ?"),
                    _("NMEA files are now associated with Corvantel"));
}

void TMainForm::AssociateFileType(const FileTypeAssociation& type, const std::string& question,
                                  const std::string& done) {
  const TQuestionAnswer answer = Hooks.AskYesNoCancel(this, qs("Corvantel"), qs(question));
  if (answer == TQuestionAnswer::Cancel) return;
  const std::string program = AssociationProgram();
  FileAssociations associations(program, AssociationFolders());
  if (answer == TQuestionAnswer::No) {
    associations.Restore(type);
    return;
  }
  // Refused before anything is written: a default that the desktop cannot start would leave
  // these files opening with nothing.
  if (!desktopCanStart(program)) {
    errorBoxFunction()(this, qs(desktopCannotStartMessage()));
    return;
  }
  if (!associations.CanWrite()) {
    errorBoxFunction()(this, qs(_("You have to run Corvantel as an andministrator to do that")));
    return;
  }
  associations.Associate(type);
  AddLog(done);
}
