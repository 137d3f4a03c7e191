// The File menu with its Re-open, Import and Export submenus, Undo in the Edit menu, the
// file and undo buttons of ToolBar1, and the window's Ctrl+O, Ctrl+S and Ctrl+Z.
#include <QAction>
#include <QMenu>
#include <QToolBar>

#include "base/Translate.h"
#include "ui/CommandGuard.h"
#include "ui/Main.h"
#include "ui/ProgramIcons.h"
#include "ui/QtText.h"

namespace {

// A menu item shows the shortcut that the window's own action owns.
QString withShortcut(const std::string& caption, const char* keys) {
  return qs(caption) + "\t" + QString::fromLatin1(keys);
}

}  // namespace

void TMainForm::BuildFileCommands() {
  auto command = [this](QAction* action, const char* name, std::function<void()> run) {
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, [this, run] { RunGuarded(this, run); });
    return action;
  };
  auto item = [&](QMenu* menu, const std::string& caption, const char* name, std::function<void()> run) {
    auto* action = new QAction(qs(caption), menu);
    menu->insertAction(menu == MenuFile ? Quit1 : nullptr, action);
    return command(action, name, std::move(run));
  };
  auto submenu = [&](const std::string& caption, const char* name) {
    auto* menu = new QMenu(qs(caption), MenuFile);
    menu->setObjectName(name);
    MenuFile->insertMenu(Quit1, menu);
    return menu;
  };

  OpenGPX1 = item(MenuFile, {}, "OpenGPX1", [this] { ActionOpenGPXFileExecute(); });
  OpenGPX1->setText(withShortcut(_("&Open GPX"), "Ctrl+O"));
  AddGPXtocurrentdata1 = item(MenuFile, _("&Add GPX"), "AddGPXtocurrentdata1", [this] { AddGPXtocurrentdata1Click(); });
  Reopen1 = submenu(_("&Re-open"), "Reopen1");
  Reopen1->menuAction()->setEnabled(false);
  Import1 = submenu(_("&Import"), "Import1");
  FromNMEA1 = item(Import1, _("From &NMEA ..."), "FromNMEA1", [this] { FromNMEA1Click(); });
  FromNGT1 = item(Import1, _("From N&GT ..."), "FromNGT1", [this] { FromNGT1Click(); });
  FromKML1 = item(Import1, _("From &KML..."), "FromKML1", [this] { FromKML1Click(); });
  SaveGPX1 = item(MenuFile, {}, "SaveGPX1", [this] { ActionSaveGPXExecute(); });
  SaveGPX1->setText(withShortcut(_("&Save GPX"), "Ctrl+S"));
  SaveGPXas1 = item(MenuFile, _("Save GPX as ..."), "SaveGPXas1", [this] { ActionSaveGPXAsExecute(); });
  Export1 = submenu(_("&Export"), "Export1");
  AsKML1 = item(Export1, _("As &KML ..."), "AsKML1", [this] { AsKML1Click(); });
  ClearGPX1 = item(MenuFile, _("&Close GPX"), "ClearGPX1", [this] { ActionCloseCurrentGPXExecute(); });
  MenuFile->insertSeparator(Quit1);

  Undo1 = item(MenuEdit, {}, "Undo1", [this] { ActionUndoExecute(); });
  Undo1->setText(withShortcut(_("&Undo"), "Ctrl+Z"));

  // Tool buttons: untranslated captions, translated hints, our own drawn icons.
  auto button = [&](const char* caption, const std::string& hint, const char* icon, const char* name,
                    std::function<void()> run) {
    auto* action = ToolBar1->addAction(programIcon(icon), QString::fromLatin1(caption));
    action->setToolTip(qs(hint));
    return command(action, name, std::move(run));
  };
  tbOpenGPX = button("Open GPX", _("Open GPX file"), "open.svg", "tbOpenGPX", [this] { ActionOpenGPXFileExecute(); });
  tbSaveGPX = button("Save GPX", _("Save current GPX"), "save.svg", "tbSaveGPX", [this] { ActionSaveGPXExecute(); });
  tbSaveGPXAs = button("Save GPX as", _("Save current GPX as a new file"), "saveas.svg", "tbSaveGPXAs",
                       [this] { ActionSaveGPXAsExecute(); });
  tbClearGPX = button("Close GPX", _("Close current GPX"), "close.svg", "tbClearGPX",
                      [this] { ActionCloseCurrentGPXExecute(); });
  ToolBar1->addSeparator();
  tbUndo = button("Undo", _("Undo"), "undo.svg", "tbUndo", [this] { ActionUndoExecute(); });

  // Each shortcut belongs to one action of the window. Ctrl+S follows Save's enabled
  // state; Ctrl+Z on an empty stack says so.
  auto shortcut = [&](const char* caption, const char* keys, const char* name, std::function<void()> run) {
    auto* action = new QAction(QString::fromLatin1(caption), this);
    action->setShortcut(QKeySequence(QString::fromLatin1(keys)));
    addAction(action);
    return command(action, name, std::move(run));
  };
  ActionOpenGPXFile = shortcut("Open GPX", "Ctrl+O", "ActionOpenGPXFile", [this] { ActionOpenGPXFileExecute(); });
  ActionSaveGPX = shortcut("Save GPX", "Ctrl+S", "ActionSaveGPX", [this] {
    if (tbSaveGPX->isEnabled()) ActionSaveGPXExecute();
  });
  ActionUndo = shortcut("Undo", "Ctrl+Z", "ActionUndo", [this] { ActionUndoExecute(); });
}
