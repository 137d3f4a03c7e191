// The preview's tool buttons, their two drop-down menus and the tool-mode state machine.
#include <QActionGroup>
#include <QMenu>
#include <QMessageBox>
#include <QToolBar>
#include <QToolButton>

#include "base/Translate.h"
#include "ui/CommandGuard.h"
#include "ui/ImageView.h"
#include "ui/Main.h"
#include "ui/ProgramIcons.h"
#include "ui/QtText.h"
#include "ui/ToolCursors.h"

void TMainForm::BuildToolsAndCommands() {
  Cursors[1] = MakeToolCursor(TToolCursor::Cut);
  Cursors[2] = MakeToolCursor(TToolCursor::Cutter);
  Cursors[3] = MakeToolCursor(TToolCursor::Pick);
  PickMode = 3;
  CutterMode = 12;
  if (!AskYesNo)
    AskYesNo = [](QWidget* parent, const QString& text) {
      return QMessageBox::question(parent, qs(_("Confirmation")), text,
                                   QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
    };
  BuildToolButtons();
  BuildEditCommands();
  BuildAltitudeCommands();
  BuildActionList();
  BuildPreviewMouse();
  BuildTreeDragDrop();
  BuildTrackEdit();
  BuildItemPropertyDialogs();
}

void TMainForm::BuildToolButtons() {
  // Captions of tool buttons stay as they are; their hints are translated.
  auto button = [this](const char* name, const char* caption, const std::string& hint, int image,
                       bool check, const char* icon) {
    auto* a = new QAction(programIcon(icon), caption, this);
    a->setObjectName(name);
    a->setToolTip(qs(hint));
    if (image > 0) a->setProperty("imageIndex", image);  // the image the drop-downs switch
    a->setCheckable(check);
    return a;
  };
  auto guarded = [this](QAction* a, std::function<void()> handler) {
    connect(a, &QAction::triggered, this, [this, handler] { RunGuarded(this, handler); });
  };

  tbDelete = button("tbDelete", "Delete", _("Delete selected item (Suppr)"), 0, false, "delete.svg");
  tbDuplicate = button("tbDuplicate", "Duplicate", _("Duplicate"), 0, false, "duplicate.svg");
  guarded(tbDelete, [this] { tbDeleteClick(); });
  guarded(tbDuplicate, [this] { tbDuplicateClick(); });
  ToolBar1->addSeparator();
  ToolBar1->addAction(tbDelete);
  ToolBar1->addAction(tbDuplicate);
  ToolBar1->addSeparator();

  tbZoomFull = button("tbZoomFull", "Zoom all", _("Zoom all"), 5, false, "zoomall.svg");
  tbZoomIn = button("tbZoomIn", "Zoom in", _("Zoom In"), 4, false, "zoomin.svg");
  tbZoomOut = button("tbZoomOut", "Zoom out", _("Zoom out"), 3, false, "zoomout.svg");
  tbZoomSelect = button("tbZoomSelect", "Zoom", _("Zoom"), 6, true, "zoombox.svg");
  tbZoomTrack = button("tbZoomTrack", "Zoom track", _("Zoom on selected track"), 0, false, "zoomtrack.svg");
  guarded(tbZoomFull, [this] { ZoomPreview(0); });
  guarded(tbZoomIn, [this] { ZoomPreview(1); });
  guarded(tbZoomOut, [this] { ZoomPreview(-1); });
  guarded(tbZoomTrack, [this] { tbZoomTrackClick(); });
  for (QAction* a : {tbZoomFull, tbZoomIn, tbZoomOut, tbZoomSelect, tbZoomTrack}) ToolBar1->addAction(a);

  // The pick tools: a drop-down button that remembers the last chosen tool.
  tbPickDD = button("tbPickDD", "Pick", _("Pick anything"), 7, false, "pickany.svg");
  pmPick = new QMenu(this);
  pmPick->setObjectName("pmPick");
  struct Item {
    QAction** field;
    const char* name;
    std::string caption;
    int mode, image;
    const char* icon;
  };
  const Item pickItems[] = {{&Pickanything1, "Pickanything1", _("Pick anything"), 3, 7, "pickany.svg"},
                            {&Pickwaypoint1, "Pickwaypoint1", _("Pick waypoint"), 6, 10, "pickwaypoint.svg"},
                            {&Pickroute1, "Pickroute1", _("Pick route"), 4, 8, "pickroute.svg"},
                            {&Picktrack1, "Picktrack1", _("Pick track"), 5, 9, "picktrack.svg"}};
  for (const Item& it : pickItems) {
    *it.field = pmPick->addAction(qs(it.caption));
    (*it.field)->setObjectName(it.name);
    (*it.field)->setProperty("imageIndex", it.image);
    (*it.field)->setIcon(programIcon(it.icon));
    const uint8_t mode = static_cast<uint8_t>(it.mode);
    const int image = it.image;
    const QAction* item = *it.field;
    guarded(*it.field, [this, mode, image, item] {
      tbPickDD->setProperty("imageIndex", image);
      tbPickDD->setIcon(item->icon());
      PickMode = mode;
      PickDropDownClick(mode);
    });
  }
  guarded(tbPickDD, [this] { PickDropDownClick(PickMode == 1 ? 3 : PickMode); });

  tbBindTrack = button("tbBindTrack", "Bind", _("Bind two tracks/routes (Ctrl+B)"), 18, true, "bind.svg");
  tbPlantWayPoint = button("tbPlantWayPoint", "Plant waypoint",
                           _("Add a waypoint on the selected track/route (Ctrl+P)"), 28, true, "plant.svg");
  tbCutTrack = button("tbCutTrack", "Cut", _("Cut Route or Track segment (Ctrl+T)"), 16, true, "cut.svg");
  tbCutSelectedTrack = button("tbCutSelectedTrack", "Cut selected",
                              _("Cut selected Route or Track segment (Shift+Ctrl+T)"), 15, true, "cutselected.svg");
  tbDeleteTrackPoint =
      button("tbDeleteTrackPoint", "Delete point", _("Delete a Trackpoint (Ctrl+D)"), 29, true, "deletepoint.svg");

  // The box tools: the second drop-down button.
  tbCutterDD = button("tbCutterDD", "Box", "", 23, false, "boxdelete.svg");
  pmCutter = new QMenu(this);
  pmCutter->setObjectName("pmCutter");
  // The menu shows each tool's key; the key itself belongs to the window's action.
  const Item cutterItems[] = {
      {&Deleteinsquare1, "Deleteinsquare1", _("Delete inside box"), 12, 23, "boxdelete.svg"},
      {&Deleteinsquareonlyseleted1, "Deleteinsquareonlyseleted1",
       _("Delete inside box (selected track)"), 13, 24, "boxdeletesel.svg"},
      {&Trim1, "Trim1", _("Keep inside box"), 14, 25, "boxkeep.svg"},
      {&TrimonlySelected1, "TrimonlySelected1", _("Keep inside box (selected track)"), 15, 26, "boxkeepsel.svg"}};
  const char* keys[] = {"Ctrl+Y", "Shift+Ctrl+Y", "Ctrl+Alt+Y", "Shift+Ctrl+Alt+Y"};
  const std::string hints[] = {_("Delete inside box (Ctrl+Y)"),
                               _("Delete inside box (selected track) (Shift+Ctrl+Y)"),
                               _("Keep inside box (Ctrl+Alt+Y)"),
                               _("Keep inside box (selected track) (Shift+Ctrl+Alt+Y)")};
  for (int i = 0; i < 4; ++i) {
    const Item& it = cutterItems[i];
    *it.field = pmCutter->addAction(qs(it.caption) + "\t" + keys[i]);
    (*it.field)->setObjectName(it.name);
    (*it.field)->setProperty("imageIndex", it.image);
    (*it.field)->setStatusTip(qs(hints[i]));
    (*it.field)->setIcon(programIcon(it.icon));
    const uint8_t mode = static_cast<uint8_t>(it.mode);
    const int image = it.image;
    const QAction* item = *it.field;
    guarded(*it.field, [this, mode, image, item] {
      tbCutterDD->setProperty("imageIndex", image);
      tbCutterDD->setIcon(item->icon());
      CutterMode = mode;
      CutterDropDownClick(mode);
    });
  }
  guarded(tbCutterDD, [this] { CutterDropDownClick(CutterMode == 1 ? 12 : CutterMode); });

  // The check buttons: at most one down at a time, and none is allowed.
  auto* group = new QActionGroup(this);
  group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
  const std::pair<QAction*, uint8_t> checks[] = {{tbZoomSelect, 2},       {tbCutTrack, 7},
                                                 {tbCutSelectedTrack, 8}, {tbBindTrack, 9},
                                                 {tbPlantWayPoint, 10},   {tbDeleteTrackPoint, 11}};
  for (auto [a, mode] : checks) {
    group->addAction(a);
    QAction* b = a;
    const uint8_t m = mode;
    guarded(a, [this, b, m] { ToolCheckClick(b, m); });
  }

  auto addDropDown = [this](QAction* action, QMenu* menu) {
    auto* tb = new QToolButton(ToolBar1);
    tb->setObjectName(action->objectName() + "Button");
    tb->setDefaultAction(action);
    tb->setMenu(menu);
    tb->setPopupMode(QToolButton::MenuButtonPopup);
    ToolBar1->addWidget(tb);
  };
  addDropDown(tbPickDD, pmPick);
  for (QAction* a : {tbBindTrack, tbPlantWayPoint, tbCutTrack, tbCutSelectedTrack}) ToolBar1->addAction(a);
  addDropDown(tbCutterDD, pmCutter);
  ToolBar1->addAction(tbDeleteTrackPoint);
}

void TMainForm::SetToolMode(uint8_t mode) {
  if (!PreviewDraw) return;
  PreviewDraw->ToolMode = mode;
  if (mode == 2)
    GPXImage->setCursor(Qt::CrossCursor);
  else if (mode >= 3 && mode <= 6)
    GPXImage->setCursor(Cursors[3]);
  else if (mode == 7 || mode == 8)
    GPXImage->setCursor(Cursors[1]);
  else if (mode >= 9 && mode <= 11)
    GPXImage->setCursor(Qt::PointingHandCursor);
  else if (mode >= 12 && mode <= 15)
    GPXImage->setCursor(Cursors[2]);
  else
    GPXImage->unsetCursor();
}

void TMainForm::ResetPreviewTools() {
  ReleaseToolButtons(nullptr);
  SetToolMode(1);
  RemovedToolPoints.Clear();
}

void TMainForm::ReleaseToolButtons(QAction* button) {
  for (QAction* a : {tbZoomSelect, tbCutTrack, tbCutSelectedTrack, tbBindTrack, tbPlantWayPoint,
                     tbDeleteTrackPoint})
    if (a && a != button) a->setChecked(false);
}

// A check button has already toggled when this runs.
void TMainForm::ToolCheckClick(QAction* button, uint8_t mode) {
  if (button->isChecked()) {
    ReleaseToolButtons(button);
    SetToolMode(mode);
  } else {
    SetToolMode(1);
  }
}

// Choosing the active pick tool again puts the pick tools away.
void TMainForm::PickDropDownClick(uint8_t mode) {
  if (PreviewDraw->ToolMode == mode) {
    SetToolMode(1);
    return;
  }
  ReleaseToolButtons(tbPickDD);
  SetToolMode(mode);
}

void TMainForm::CutterDropDownClick(uint8_t mode) {
  if (PreviewDraw->ToolMode == mode) {
    SetToolMode(1);
    return;
  }
  ReleaseToolButtons(tbCutterDD);
  SetToolMode(mode);
}

// 0 fits all, 1 zooms in, -1 zooms out.
void TMainForm::ZoomPreview(int which) {
  if (which == 0)
    PreviewDraw->FitAll(true, true);
  else if (which > 0)
    PreviewDraw->ZoomIn();
  else
    PreviewDraw->ZoomOut();
  DrawPreview();
}
