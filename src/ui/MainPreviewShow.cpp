// Showing the document in the preview: after a read or an import, and after an edit.
#include "base/NumberText.h"
#include "ui/ImageView.h"
#include "ui/Main.h"

void TMainForm::RedrawPreview() {
  if (!PreviewDraw || !PreviewDraw->GPX || !PreviewDraw->Canvas) return;
  PreviewDraw->Draw();
  GPXImage->update();
}

void TMainForm::ShowDocumentInPreview(bool shrink) {
  PreviewDraw->SetGPX(CurrentGPX.get());
  PreviewDraw->Canvas = &GPXImage->canvas();
  PreviewDraw->SetSize(GPXImage->width(), GPXImage->height());
  PreviewDraw->FitAll(true, shrink);
  PreviewDraw->Draw();
  GPXImage->update();
  std::string text;
  for (const std::string& line : PreviewDraw->Messages) text += line + "\n";
  // Logged once: the view keeps collecting after this.
  PreviewDraw->Messages.clear();
  if (const std::string trimmed = trim(text); !trimmed.empty()) AddLog(trimmed);
}
