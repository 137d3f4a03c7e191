// The undo stack: whole-document copies pushed before an edit, taken back newest first,
// kept within a memory bound by dropping the oldest.
#include <numeric>

#include "base/Translate.h"
#include "ui/Main.h"
#include "ui/UndoMemory.h"

void TMainForm::SaveUndoState() {
  auto copy = std::make_unique<TGPX>();
  copy->Assign(*CurrentGPX);
  // Undo and Close take copies from the end or all at once: the sizes follow by length.
  undoSizes_.resize(UndoList.size());
  undoSizes_.push_back(estimatedCopyBytes(*copy));
  UndoList.push_back(std::move(copy));
  uint64_t total = std::accumulate(undoSizes_.begin(), undoSizes_.end(), uint64_t(0));
  // The newest copy always stays: it undoes the edit about to be made.
  while (UndoList.size() > 1 && total > UndoMemoryLimit) {
    total -= undoSizes_.front();
    undoSizes_.erase(undoSizes_.begin());
    UndoList.erase(UndoList.begin());
    AddLog(_("Oldest undo step dropped: the undo copies reached their memory limit"));
  }
  GPXModified = true;
}

void TMainForm::ActionUndoExecute() {
  if (!UndoList.empty()) {
    UndoLast();
    return;
  }
  AddLog("Nothing to undo");
  Hooks.Beep();
}

void TMainForm::UndoLast() {
  std::unique_ptr<TGPX> restored = std::move(UndoList.back());
  UndoList.pop_back();
  restored->Selection.Clear();
  // The replaced document lives on until nothing refers to it any more.
  RetiredDocuments.push_back(std::move(CurrentGPX));
  CurrentGPX = std::move(restored);
  PreviewDraw->SetGPX(CurrentGPX.get());
  RefreshTree();
  ReleaseStaleReferences();
  DrawPreview();
  // Nothing is selected any more: no figures of the undone selection may stay.
  ClearStatusText();
}
