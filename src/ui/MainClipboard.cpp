// Copy and Paste in the tree's pop-up and their keys: items travel between documents, and
// between two running editors, as a small GPX document on the clipboard.
#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QTreeWidget>

#include "base/NumberText.h"
#include "base/Translate.h"
#include "formats/GPXClipboard.h"
#include "formats/GPXFile.h"
#include "platform/ClipboardService.h"
#include "ui/CommandGuard.h"
#include "ui/Main.h"
#include "ui/QtText.h"
#include "ui/TreeNodes.h"

namespace {

QString withShortcut(const std::string& caption, const char* keys) {
  return qs(caption) + "\t" + QString::fromLatin1(keys);
}

bool copyable(TreeNodeKind kind) {
  switch (kind) {
    case TreeNodeKind::Wpt:
    case TreeNodeKind::Rte:
    case TreeNodeKind::Trk:
    case TreeNodeKind::WptList:
    case TreeNodeKind::RteList:
    case TreeNodeKind::TrkList:
      return true;
    default:
      return false;
  }
}

}  // namespace

void TMainForm::BuildClipboardCommands() {
  auto item = [this](const std::string& caption, const char* keys, const char* name,
                     std::function<void()> run) {
    auto* action = pmTreeView->addAction(withShortcut(caption, keys));
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, [this, run] { RunGuarded(this, run); });
    return action;
  };
  pmTreeView->addSeparator();
  Copy1 = item(_("Copy"), "Ctrl+C", "Copy1", [this] { Copy1Click(); });
  Paste1 = item(_("Paste"), "Ctrl+V", "Paste1", [this] { Paste1Click(); });
  connect(pmTreeView, &QMenu::aboutToShow, this, [this] { UpdateClipboardCommands(); });

  // The keys are the tree's: in the log pane Ctrl+C copies the log's text. Each key has one
  // action, which acts as its pop-up item would.
  auto key = [this](const char* name, const char* keys, QAction* item) {
    auto* action = new QAction(QString::fromLatin1(name), ActionList1 ? ActionList1 : this);
    action->setObjectName(name);
    action->setShortcut(QKeySequence(QString::fromLatin1(keys)));
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    tvItems->addAction(action);
    connect(action, &QAction::triggered, this, [this, item] {
      RunGuarded(this, [this, item] {
        UpdateClipboardCommands();
        if (item->isEnabled()) item->trigger();
      });
    });
  };
  key("ActionCopy", "Ctrl+C", Copy1);
  key("ActionPaste", "Ctrl+V", Paste1);
}

void TMainForm::UpdateClipboardCommands() {
  const QTreeWidgetItem* node = tvItems->currentItem();
  Copy1->setEnabled(copyable(treeNodeKind(node)));
  Paste1->setEnabled(treeNodeObject(node) && ClipboardService::hasPrivate());
}

void TMainForm::Copy1Click() {
  const TGPXSelection& sel = CurrentGPX->Selection;
  if (sel.Count() != 1 || !sel.At(0)) return;
  TClipboardTexts texts;
  if (!MakeClipboardTexts(*sel.At(0), *CurrentGPX, GPXOptions.ClipboardFormat, texts)) return;
  ClipboardService::put(texts.Document, texts.Text);
  std::string phrase;
  switch (texts.Kind) {
    case ItemKind::WptList: phrase = _("waypoints copied"); break;
    case ItemKind::Wpt: phrase = _("waypoint copied"); break;
    case ItemKind::RteList: phrase = _("routes copied"); break;
    case ItemKind::Rte: phrase = _("route copied"); break;
    case ItemKind::TrkList: phrase = _("tracks copied"); break;
    default: phrase = _("track copied"); break;
  }
  AddLog(formatInt(texts.Count) + " " + phrase);
}

void TMainForm::Paste1Click() {
  if (!ClipboardService::hasPrivate()) return;
  const std::string text = ClipboardService::privateText();
  if (text.size() < 2) return;
  TGPXFile reader;
  reader.GPX = CurrentGPX.get();
  reader.LoadFromString(text);
  // Data that does not load changes nothing: the document is not marked modified.
  if (!reader.Loaded) {
    LogMessages(reader.Messages);
    return;
  }
  GPXModified = true;
  // A window that showed no document (none opened, or closed) shows the pasted one, as an
  // import does: else it could be neither saved nor closed.
  const bool wasShown = GPXLoaded && PreviewDraw->GPX == CurrentGPX.get();
  GPXLoaded = true;
  if (!wasShown) ShowDocumentInPreview(true);
  RefreshTree();
  AddLog(_("data pasted"));
}
