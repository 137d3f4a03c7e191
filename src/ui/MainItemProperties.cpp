// Properties on a route, a track (also from one of its segments) and the metadata, each
// dialog's edit-and-replace cycle, and the About box.
#include <QAction>
#include <QDialog>
#include <QMenu>

#include "base/Translate.h"
#include "model/ExactCopy.h"
#include "platform/ProgramVersion.h"
#include "ui/CommandGuard.h"
#include "ui/Main.h"
#include "ui/QtText.h"
#include "ui/dialogs/AboutForm.h"
#include "ui/dialogs/AltitudeDownload.h"
#include "ui/dialogs/MetaProperties.h"
#include "ui/dialogs/RouteProperties.h"
#include "ui/dialogs/TrackProperties.h"

void TMainForm::BuildItemPropertyDialogs() {
  // Created once and reused for every showing.
  RoutePropertiesForm = new TRoutePropertiesForm(this);
  TrackPropertiesForm = new TTrackPropertiesForm(this);
  MetadataPropertiesForm = new TMetadataPropertiesForm(this);
  AboutBox = new TAboutBox(this);
  TrackPropertiesForm->DownloadAltitudes = [this](TGPXtrk& track, const TGPXOptions* options, int32_t credit) {
    TAltitudeDownloadForm& form = *AltitudeDownloadForm;
    form.Track = &track;
    form.Waypoints = nullptr;
    form.Options = options;
    form.ElevationCredit = credit;
    ShowDialog(&form);
    form.Track = nullptr;
    return form.ElevationCredit;
  };

  About1 = MenuHelp->addAction(qs(_("About ...")));
  About1->setObjectName("About1");
  connect(About1, &QAction::triggered, this, [this] { RunGuarded(this, [this] { About1Click(); }); });
}

bool TMainForm::OpenLinePropertiesOf(TItem* item) {
  switch (item->Kind()) {
    case ItemKind::Rte:
      EditRouteProperties(static_cast<TGPXrte*>(item));
      return true;
    case ItemKind::Trk:
      EditTrackProperties(static_cast<TGPXtrk*>(item));
      return true;
    case ItemKind::Trkseg: {
      auto* segment = static_cast<TGPXtrkseg*>(item);
      if (TGPXtrk* track = CurrentGPX->Tracks.FindTrackOfSegment(segment)) {
        PreviewDraw->CurrentList = nullptr;
        EditTrackProperties(track, track->IndexOf(segment));
      }
      return true;
    }
    case ItemKind::Metadata:
      EditMetadataProperties();
      return true;
    default:
      return false;
  }
}

bool TMainForm::EditRouteProperties(TGPXrte* route) {
  TGPXrteList& routes = CurrentGPX->Routes;
  if (!route || routes.IndexOf(route) < 0) return false;
  std::unique_ptr<TGPXrte> copy = ExactCopy(*route);
  TRoutePropertiesForm& form = *RoutePropertiesForm;
  form.SetRoute(copy.get());
  form.DefaultColor = PreviewDraw->Options.RouteColor;
  form.Document = CurrentGPX.get();
  const int result = ShowDialog(&form);
  form.SetRoute(nullptr);
  form.Document = nullptr;
  const int at = routes.IndexOf(route);
  if (result != QDialog::Accepted || at < 0) return false;

  SaveUndoState();
  TGPXrte* edited = routes.Insert(at, std::move(copy));
  Retired.Add(routes.Extract(at + 1));
  PreviewDraw->CurrentList = edited;
  ShowEditedItem(edited);
  return true;
}

bool TMainForm::EditTrackProperties(TGPXtrk* track, int segmentIndex) {
  TGPXtrkList& tracks = CurrentGPX->Tracks;
  if (!track || tracks.IndexOf(track) < 0) return false;
  std::unique_ptr<TGPXtrk> copy = ExactCopy(*track);
  TTrackPropertiesForm& form = *TrackPropertiesForm;
  form.SetTrack(copy.get());
  form.DefaultColor = PreviewDraw->Options.TrackColor;
  form.Document = CurrentGPX.get();
  form.Options = &GPXOptions;
  form.ElevationCredit = ElevationCredit;
  const int result = ShowDialog(&form);
  form.SetTrack(nullptr);
  form.Document = nullptr;
  // The requests of a download were made whatever the answer: their cost stays spent.
  ElevationCredit = form.ElevationCredit;
  const int at = tracks.IndexOf(track);
  if (result != QDialog::Accepted || at < 0) return false;

  SaveUndoState();
  TGPXtrk* edited = tracks.Insert(at, std::move(copy));
  Retired.Add(tracks.Extract(at + 1));
  if (segmentIndex >= 0 && segmentIndex < edited->Count()) {
    PreviewDraw->CurrentList = edited->GetSegment(segmentIndex);
    ShowEditedItem(edited->GetSegment(segmentIndex));
  } else {
    ShowEditedItem(edited);
  }
  return true;
}

bool TMainForm::EditMetadataProperties() {
  TGPXmetadata copy;
  copy.Assign(CurrentGPX->Metadata);
  TMetadataPropertiesForm& form = *MetadataPropertiesForm;
  form.SetMetadata(&copy);
  form.Document = CurrentGPX.get();
  const int result = ShowDialog(&form);
  form.SetMetadata(nullptr);
  form.Document = nullptr;
  if (result != QDialog::Accepted) return false;

  SaveUndoState();
  // The metadata lives inside the document: it takes the copy's values in place.
  CurrentGPX->Metadata.Assign(copy);
  ShowEditedItem(&CurrentGPX->Metadata);
  return true;
}

void TMainForm::ShowEditedItem(TItem* selected) {
  GPXModified = true;
  CurrentGPX->Selection.Clear();
  CurrentGPX->Selection.Add(selected);
  RefreshTree();
  ReleaseStaleReferences();
  SelectTreeNodes(CurrentGPX->Selection.Items);
  DrawPreview();
  UpdateStatGraphAfterEdit();
}

void TMainForm::About1Click() {
  AboutBox->VersionText = GetFileVersionString();
  AboutBox->Beta = IsDebug;
  ShowDialog(AboutBox);
}
