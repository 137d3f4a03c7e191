// Edit track points: the tree pop-up's item and the Filter button open the track editing
// dialog on a copy of the selected segment; OK puts the result in its place as one undo step.
#include <QAction>
#include <QMenu>
#include <QToolBar>

#include "base/Translate.h"
#include "ui/CommandGuard.h"
#include "ui/Main.h"
#include "ui/ProgramIcons.h"
#include "ui/QtText.h"
#include "ui/dialogs/TrackEdit.h"

void TMainForm::BuildTrackEdit() {
  TrackEditForm = new TTrackEditForm(this);

  Edittrackpoints1 = pmTreeView->addAction(qs(_("Ed&it track points")));
  Edittrackpoints1->setObjectName("Edittrackpoints1");
  connect(Edittrackpoints1, &QAction::triggered, this,
          [this] { RunGuarded(this, [this] { Edittrackpoints1Click(); }); });
  // In the pop-up the item is always offered; the command itself checks the selection.
  connect(pmTreeView, &QMenu::aboutToShow, this, [this] { Edittrackpoints1->setEnabled(true); });

  tbFilter = new QAction(programIcon("filter.svg"), "Filter", this);
  tbFilter->setObjectName("tbFilter");
  tbFilter->setToolTip(qs(_("Filter")));
  connect(tbFilter, &QAction::triggered, this, [this] { RunGuarded(this, [this] { tbFilterClick(); }); });
  ToolBar1->addSeparator();
  ToolBar1->addAction(tbFilter);

  BuildEditionPage();
}

void TMainForm::tbFilterClick() { Edittrackpoints1Click(); }

void TMainForm::Edittrackpoints1Click() {
  TGPX& gpx = *CurrentGPX;
  const TGPXSelection& sel = gpx.Selection;
  if (sel.Count() == 0) return;
  if (sel.Count() != 1 || !sel.At(0)->Is(ItemKind::Trkseg)) {
    AddLog(_("No track segment selected"));
    return;
  }
  auto* segment = static_cast<TGPXtrkseg*>(sel.At(0));
  auto copy = [](const TGPXtrkseg& from) {
    auto c = std::make_unique<TGPXtrkseg>();
    c->Assign(from);
    c->Visible = from.Visible;
    return c;
  };
  TrackEditForm->SetSegments(copy(*segment), copy(*segment));
  const int result = ShowDialog(TrackEditForm);
  TGPXtrk* track = gpx.Tracks.FindTrackOfSegment(segment);
  if (result == 1 && track && TrackEditForm->ResultSegment) {
    const int index = track->IndexOf(segment);
    SaveUndoState();
    TGPXtrkseg* placed = track->Insert(index, copy(*TrackEditForm->ResultSegment));
    placed->Visible = segment->Visible;
    Retired.Add(track->Extract(index + 1));
    GPXModified = true;
    gpx.Selection.Clear();
    gpx.Selection.Add(placed);
    RefreshTree();
    ReleaseStaleReferences();
    SelectTreeNodes(gpx.Selection.Items);
    PreviewDraw->CurrentList = placed;
    DrawPreview();
    UpdateCommands(true);
    UpdateStatGraphAfterEdit();
  }
  TrackEditForm->ClearSegments();
}

void TMainForm::UpdateStatGraphAfterEdit() { UpdateStatGraph(); }
