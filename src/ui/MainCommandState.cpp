// Which commands are enabled, computed in one place, and the window's keyboard actions:
// each key has one owner that checks its button's state before acting.
#include <QAction>
#include <QKeySequence>
#include <QMenu>

#include "base/Translate.h"
#include "ui/CommandGuard.h"
#include "ui/Main.h"

namespace {

bool isClass(const TItem* item, ItemKind kind) { return item && item->Is(kind); }

}  // namespace

void TMainForm::UpdateCommands(bool Full) {
  // Controls are found by name: those of commands not built yet are simply absent.
  auto enable = [this](const char* name, bool on) {
    if (auto* a = findChild<QAction*>(name)) a->setEnabled(on);
  };
  auto enabled = [this](const char* name) {
    auto* a = findChild<QAction*>(name);
    return a && a->isEnabled();
  };
  for (const char* name :
       {"Pickanything1", "Pickwaypoint1", "Pickroute1", "Picktrack1", "tbDelete", "tbDuplicate",
        "tbCutSelectedTrack", "tbCutTrack", "tbBindTrack", "tbZoomFull", "tbZoomIn", "tbZoomOut",
        "tbZoomSelect", "tbZoomTrack", "tbClearGPX", "tbSaveGPX", "Deleteinsquare1",
        "Deleteinsquareonlyseleted1", "Trim1", "TrimonlySelected1", "tbPlantWayPoint",
        "tbSaveGPXAs", "tbUndo", "tbDeleteTrackPoint", "Movealltracksegintothefirsttrack2",
        "Removeemptytracks2", "rasform1pointtracksintowaypoints1", "Createametadatasection1",
        "Properties1", "Shiftaltitude1", "Edittrackpoints1", "tbFilter"})
    enable(name, false);

  if (PreviewDraw && PreviewDraw->GPX) {
    const TGPX& gpx = *PreviewDraw->GPX;
    const TGPXSelection& sel = gpx.Selection;
    const bool RS = sel.HasRouteOrSegment();
    const bool T = gpx.Tracks.Count() > 0;
    enable("tbClearGPX", true);
    enable("tbSaveGPX", true);
    enable("tbUndo", !UndoList.empty());
    enable("tbSaveGPXAs", CurrentGPX != nullptr);
    if (Full) {
      const TItem* only = sel.Count() == 1 ? sel.At(0) : nullptr;
      enable("Createametadatasection1", !gpx.Metadata.Present);
      for (const char* name : {"Pickanything1", "tbCutTrack", "tbZoomFull", "tbZoomIn", "tbZoomOut",
                               "tbZoomSelect", "Deleteinsquare1", "Trim1"})
        enable(name, true);
      enable("Pickwaypoint1", gpx.Waypoints.Count() > 0);
      enable("Pickroute1", gpx.Routes.Count() > 0);
      for (const char* name : {"Picktrack1", "Movealltracksegintothefirsttrack2", "Removeemptytracks2",
                               "rasform1pointtracksintowaypoints1"})
        enable(name, T);
      enable("tbDelete", sel.Count() > 0);
      enable("tbDuplicate", sel.Count() > 0);
      for (const char* name : {"tbCutSelectedTrack", "tbBindTrack", "tbZoomTrack",
                               "Deleteinsquareonlyseleted1", "TrimonlySelected1", "tbPlantWayPoint",
                               "tbDeleteTrackPoint"})
        enable(name, RS);
      enable("Properties1", isClass(only, ItemKind::Wpt) || isClass(only, ItemKind::Rte) ||
                                isClass(only, ItemKind::Trk) || isClass(only, ItemKind::Metadata));
      for (const char* name : {"Shiftaltitude1", "Edittrackpoints1", "tbFilter"})
        enable(name, isClass(only, ItemKind::Trkseg));
    }
  }

  // Menu items that stand for a tool button follow it.
  enable("Undo1", enabled("tbUndo"));
  enable("ClearGPX1", enabled("tbClearGPX"));
  enable("SaveGPX1", enabled("tbSaveGPX"));
  enable("SaveGPXas1", enabled("tbSaveGPXAs"));
  if (auto* exportMenu = findChild<QMenu*>("Export1"))
    exportMenu->menuAction()->setEnabled(enabled("SaveGPXas1"));
}

void TMainForm::BuildActionList() {
  ActionList1 = new QObject(this);
  ActionList1->setObjectName("ActionList1");
  // The file and undo keys are built with their commands; they join the others here.
  for (const char* name : {"ActionOpenGPXFile", "ActionSaveGPX", "ActionUndo"})
    if (auto* a = findChild<QAction*>(name)) a->setParent(ActionList1);
  auto action = [this](const char* name, const QKeySequence& key, std::function<void()> handler) {
    auto* a = new QAction(name, ActionList1);
    a->setObjectName(name);
    a->setShortcut(key);
    addAction(a);  // always enabled: the handler looks at its button
    connect(a, &QAction::triggered, this, [this, handler] { RunGuarded(this, handler); });
    return a;
  };
  // The check buttons: pressing the key is clicking the button, when it may be clicked.
  auto toggles = [](QAction* button) {
    return [button] {
      if (button->isEnabled()) button->trigger();
    };
  };
  action("ActionBindTrack", QKeySequence("Ctrl+B"), toggles(tbBindTrack));
  action("ActionCutTrack", QKeySequence("Ctrl+T"), toggles(tbCutTrack));
  action("ActionCutSelectedTrack", QKeySequence("Shift+Ctrl+T"), toggles(tbCutSelectedTrack));
  action("ActionDeleteTrackPoint", QKeySequence("Ctrl+D"), toggles(tbDeleteTrackPoint));
  action("ActionPlantWayPoint", QKeySequence("Ctrl+P"), toggles(tbPlantWayPoint));
  action("ActionDelete", QKeySequence(Qt::Key_Delete), [this] {
    if (tbDelete->isEnabled()) tbDelete->trigger();
  });
  // The box tools log what they are before they start.
  auto boxTool = [this](QAction* item) {
    return [this, item] {
      if (!item->isEnabled()) return;
      AddLog(item->statusTip().toStdString());
      item->trigger();
    };
  };
  action("ActionDeleteInSquare", QKeySequence("Ctrl+Y"), boxTool(Deleteinsquare1));
  action("ActionDeleteInSquareOnlySeleted", QKeySequence("Shift+Ctrl+Y"),
         boxTool(Deleteinsquareonlyseleted1));
  action("ActionTrim", QKeySequence("Ctrl+Alt+Y"), boxTool(Trim1));
  action("ActionTrimOnlySelected", QKeySequence("Shift+Ctrl+Alt+Y"), boxTool(TrimonlySelected1));
}
