// The Edit menu's altitude and time commands: Shift altitude, Anonymize time, Download all
// waypoints altitude, and the hidden Download map.
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <stdexcept>

#include "base/DateTime.h"
#include "base/NumberText.h"
#include "base/Translate.h"
#include "ui/CommandGuard.h"
#include "ui/Main.h"
#include "ui/QtText.h"
#include "ui/dialogs/AltitudeDownload.h"
#include "ui/dialogs/ShiftAltitude.h"

namespace {

// The map data service whose query Download map composes (it only logs it).
constexpr const char* kMapDataService = "https://api.openstreetmap.org/";

}  // namespace

void TMainForm::BuildAltitudeCommands() {
  ShiftAltitudeForm = new TShiftAltitudeForm(this);
  AltitudeDownloadForm = new TAltitudeDownloadForm(this);
  auto item = [this](QMenu* menu, const char* name, const std::string& caption, std::function<void()> handler) {
    QAction* a = menu->addAction(qs(caption));
    a->setObjectName(name);
    connect(a, &QAction::triggered, this, [this, handler] { RunGuarded(this, handler); });
    return a;
  };
  MenuEdit->addSeparator();
  item(MenuEdit, "Shiftaltitude1", _("&Shift altitude"), [this] { Shiftaltitude1Click(); });
  QMenu* tools = MenuEdit->addMenu(qs(_("&OpenStreetMap Tools")));
  tools->setObjectName("OpenStreetMapTools1");
  item(tools, "Anonymizetime1", _("&Anonymize time"), [this] { Anonymizetime1Click(); });
  QAction* map = item(tools, "Downloadmap1", _("&Download map"), [this] { Downloadmap1Click(); });
  map->setVisible(false);
  map->setEnabled(false);
  item(MenuEdit, "Downloadallwaypointsaltitude1", _("&Download all waypoints altitude"),
       [this] { Downloadallwaypointsaltitude1Click(); });
}

void TMainForm::Shiftaltitude1Click() {
  TGPXSelection& sel = CurrentGPX->Selection;
  if (sel.Count() == 0 || !sel.At(0) || !sel.At(0)->Is(ItemKind::Trkseg)) return;
  auto* segment = static_cast<TGPXtrkseg*>(sel.At(0));
  if (ShiftAltitudeForm->exec() != QDialog::Accepted) return;
  // Read before anything changes: a text that is no number leaves the document as it was.
  const std::string text = ShiftAltitudeForm->edtAltitude->text().toStdString();
  double v = 0;
  if (!parseFloatStrict(text, v))
    throw std::runtime_error("'" + text + "' " + _("is not a valid floating point value"));
  SaveUndoState();
  for (int i = 0; i < segment->Count(); ++i) {
    TPoint4D2& p = *segment->GetPoint(i);
    p.SetEle(p.Ele + v);
  }
  AddLog(_("Applied a") + " " + formatGeneral(v) + "m " + _("altitude shift to the selected track segment"));
  GPXModified = true;
  UpdateCommands(true);  // Undo now has a step to take back
}

void TMainForm::Anonymizetime1Click() {
  const double base = encodeDateTime(1900, 1, 1);
  TPoint4D2 baseText;
  baseText.Time = base;
  // The first point that has a time lands on the base; every other keeps its distance to it,
  // measured on the day count so that it holds on both sides of 1899-12-30. Points without
  // time keep none.
  bool haveOrigin = false;
  double origin = 0;
  SaveUndoState();
  for (int t = 0; t < CurrentGPX->Tracks.Count(); ++t) {
    TGPXtrk& track = *CurrentGPX->Tracks.GetTrack(t);
    for (int s = 0; s < track.Count(); ++s) {
      TGPXtrkseg& segment = *track.GetSegment(s);
      for (int i = 0; i < segment.Count(); ++i) {
        TPoint4D2& p = *segment.GetPoint(i);
        if (p.Time == 0) continue;
        if (!haveOrigin) origin = p.Time, haveOrigin = true;
        p.Time = movedDayCountToDateTime(dateTimeToDayCount(base) + daysBetween(origin, p.Time));
      }
    }
    GPXModified = true;
    AddLog(_("All track time set to ") + baseText.TimeToStr());
  }
  UpdateCommands(true);
}

void TMainForm::Downloadallwaypointsaltitude1Click() {
  SaveUndoState();
  TAltitudeDownloadForm& form = *AltitudeDownloadForm;
  form.Track = nullptr;
  form.Waypoints = &CurrentGPX->Waypoints;
  form.Options = &GPXOptions;
  form.ElevationCredit = ElevationCredit;
  form.exec();
  ElevationCredit = form.ElevationCredit;
  GPXModified = true;
  UpdateCommands(true);
}

void TMainForm::Downloadmap1Click() {
  PreviewDraw->FitAll(true, true);
  DrawPreview();
  const TBBox& box = PreviewDraw->ViewBox;
  const std::string query = std::string(kMapDataService) + "api/0.6/map?bbox=" + formatGeneral(box.MinLon) +
                            "," + formatGeneral(box.MinLat) + "," + formatGeneral(box.MaxLon) + "," +
                            formatGeneral(box.MaxLat);
  AddLog(_("Downloading") + " " + query);
}
