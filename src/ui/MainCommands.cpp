// Which commands are enabled: the file and undo commands for now.
#include <QAction>
#include <QMenu>

#include "ui/Main.h"

void TMainForm::UpdateCommands(bool Full) {
  const bool shown = PreviewDraw && PreviewDraw->GPX;
  tbClearGPX->setEnabled(shown);
  tbSaveGPX->setEnabled(shown);
  tbUndo->setEnabled(shown && !UndoList.empty());
  tbSaveGPXAs->setEnabled(shown && CurrentGPX);
  // Menu items mirror their buttons.
  Undo1->setEnabled(tbUndo->isEnabled());
  ClearGPX1->setEnabled(tbClearGPX->isEnabled());
  SaveGPX1->setEnabled(tbSaveGPX->isEnabled());
  SaveGPXas1->setEnabled(tbSaveGPXAs->isEnabled());
  Export1->menuAction()->setEnabled(SaveGPXas1->isEnabled());
}
