// Showing the document in the preview: after a read or an import, and after an edit, or
// its background alone; a reader's or the view's messages in the log pane.
#include "base/NumberText.h"
#include "ui/ImageView.h"
#include "ui/Main.h"

void TMainForm::DrawPreview() {
  if (!PreviewDraw) return;
  PreviewDraw->Draw();  // draws nothing without a document or a canvas
  GPXImage->update();
}

void TMainForm::ShowPreviewBackground() {
  ::Canvas& c = GPXImage->canvas();
  c.Brush.Color = PreviewDraw->Options.BackgroundColor;
  c.Brush.Style = TBrushStyle::Solid;
  c.FillRect({0, 0, c.Width(), c.Height()});
  GPXImage->update();
}

void TMainForm::ShowDocumentInPreview(bool shrink) {
  PreviewDraw->SetGPX(CurrentGPX.get());
  PreviewDraw->Canvas = &GPXImage->canvas();
  PreviewDraw->SetSize(GPXImage->width(), GPXImage->height());
  PreviewDraw->FitAll(true, shrink);
  DrawPreview();
  LogMessages(PreviewDraw->Messages);
  // Logged once: the view keeps collecting after this.
  PreviewDraw->Messages.clear();
}

void TMainForm::LogMessages(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  if (const std::string trimmed = trim(text); !trimmed.empty()) AddLog(trimmed);
}
