// Showing the document in the preview: after a read or an import, and after an edit; a
// reader's or the view's messages in the log pane.
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
  LogMessages(PreviewDraw->Messages);
  // Logged once: the view keeps collecting after this.
  PreviewDraw->Messages.clear();
}

void TMainForm::LogMessages(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  if (const std::string trimmed = trim(text); !trimmed.empty()) AddLog(trimmed);
}
