// Stand-ins until the tree and the undo stack arrive.
#include "ui/Main.h"

void TMainForm::SaveUndoState() { GPXModified = true; }
void TMainForm::RefreshTree() {}
void TMainForm::SelectTreeNodes(const TGPXSelection&) {}
void TMainForm::ClearStaleReferences() {}
