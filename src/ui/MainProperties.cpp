// Properties on the selected item: the one dispatch by item kind, its entry points (the
// tree's pop-up and double-click; the preview's middle-click calls Properties1Click), and each
// dialog's cycle: a copy is edited, and on OK it takes the item's place with one undo step.
#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QTreeWidget>

#include "base/Translate.h"
#include "ui/CommandGuard.h"
#include "ui/ElevationRequests.h"
#include "ui/Main.h"
#include "ui/QtText.h"
#include "ui/dialogs/WayPointProperties.h"

void TMainForm::BuildPropertyDialogs() {
  if (!ShowDialog) ShowDialog = [](QDialog* dialog) { return dialog->exec(); };
  // Created once and reused for every showing.
  WayPointPropertiesForm = new TWayPointPropertiesForm(this);
  // The options and the credit as they stand at each request.
  WayPointPropertiesForm->QueryElevation = [this](double lat, double lon) {
    return QueryPointElevation(GPXOptions, lat, lon, ElevationCredit);
  };

  pmTreeView->addSeparator();
  Properties1 = pmTreeView->addAction(qs(_("&Properties")));
  Properties1->setObjectName("Properties1");
  connect(Properties1, &QAction::triggered, this, [this] { RunGuarded(this, [this] { Properties1Click(); }); });
  // In the pop-up it is always offered; the command itself checks the selection.
  connect(pmTreeView, &QMenu::aboutToShow, this, [this] { Properties1->setEnabled(true); });
  connect(tvItems, &QTreeWidget::itemDoubleClicked, this,
          [this] { RunGuarded(this, [this] { tvItemsDblClick(); }); });
}

void TMainForm::tvItemsDblClick() { Properties1Click(); }

void TMainForm::Properties1Click() {
  const TGPXSelection& sel = CurrentGPX->Selection;
  if (sel.Count() != 1 || !sel.At(0)) return;
  OpenItemProperties(sel.At(0));
}

void TMainForm::OpenItemProperties(TItem* item) {
  switch (item->Kind()) {
    case ItemKind::Wpt:
      // A route or track point (chosen in the point grid or with a pick tool) is edited in
      // the list that holds it.
      if (EditWayPointProperties(static_cast<TGPXwpt*>(item))) TabSheet2Show();
      break;
    default:
      // Routes, tracks (a segment stands for its track) and the metadata.
      OpenLinePropertiesOf(item);
      break;
  }
}

bool TMainForm::EditWayPointProperties(TGPXwpt* point, TGPXwptList* owner) {
  if (!point || !CurrentGPX) return false;
  const bool ownerGiven = owner != nullptr;
  if (!owner) owner = CurrentGPX->FindPointOwner(point);
  if (!owner || owner->IndexOf(point) < 0) return false;

  auto copy = std::make_unique<TGPXwpt>(*point);
  WayPointPropertiesForm->SetPoint(copy.get());
  WayPointPropertiesForm->Document = CurrentGPX.get();
  const int result = ShowDialog(WayPointPropertiesForm);
  WayPointPropertiesForm->SetPoint(nullptr);
  WayPointPropertiesForm->Document = nullptr;
  // The point must still be where it was: nothing else may have moved it meanwhile.
  const int at = owner->IndexOf(point);
  if (result != QDialog::Accepted || at < 0 || CurrentGPX->FindPointOwner(point) != owner) return false;

  SaveUndoState();
  auto* edited = static_cast<TGPXwpt*>(owner->Insert(at, std::move(copy)));
  Retired.Add(owner->Extract(at + 1));
  MapMarkersFollow(point, edited);
  GPXModified = true;
  TGPXSelection& sel = CurrentGPX->Selection;
  sel.Clear();
  if (!ownerGiven && owner == &CurrentGPX->Waypoints) {
    sel.Add(edited);
    PreviewDraw->CurrentPoint = edited;
  } else {
    sel.Add(owner);
  }
  RefreshTree();
  ReleaseStaleReferences();
  SelectTreeNodes(sel.Items);
  DrawPreview();
  return true;
}
