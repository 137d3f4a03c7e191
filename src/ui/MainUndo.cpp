// The undo stack: whole-document copies pushed before an edit, taken back newest first.
#include "ui/Main.h"

void TMainForm::SaveUndoState() {
  auto copy = std::make_unique<TGPX>();
  copy->Assign(*CurrentGPX);
  UndoList.push_back(std::move(copy));
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
}
