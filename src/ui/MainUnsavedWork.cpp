// Unsaved work is never dropped without a question: the close question before a document
// goes, and reads that add to a document keeping the file it belongs to.
#include "base/Translate.h"
#include "ui/CommandGuard.h"
#include "ui/Main.h"
#include "ui/QtText.h"

bool TMainForm::QuerySaveChanges() {
  if (!GPXModified) return true;
  const QString text = qs(CurrentFileName + "\n" + _("has been modified, do you want to save it ?"));
  switch (Hooks.AskYesNoCancel(this, "Question", text)) {
    case TQuestionAnswer::Yes: {
      bool saved = false;
      RunGuarded(this, [&] { saved = ActionSaveGPXExecute(); });
      return saved;  // a save that fails or is cancelled keeps the document as it was
    }
    case TQuestionAnswer::No:
      return true;
    case TQuestionAnswer::Cancel:
      return false;
  }
  return false;
}

void TMainForm::AddGPXFile(const std::string& fileName) {
  if (!CurrentFileIsDocument || CurrentFileName.empty()) {
    // A document without a file of its own takes the one read, as Open does.
    OpenGPXFile(fileName);
    return;
  }
  // The reader names the file it reads; the document's own name, title and Save target
  // come back afterwards, also when the read throws.
  struct Keep {
    TMainForm& form;
    const std::string name = form.CurrentFileName;
    const bool fromImport = form.CurrentFileFromImport;
    ~Keep() {
      const bool added = form.CurrentFileIsDocument;  // the added file was read
      form.CurrentFileName = name;
      form.CurrentFileIsDocument = true;
      form.CurrentFileFromImport = fromImport;
      // The document's file no longer holds all of it.
      if (added) form.GPXModified = true;
      form.setWindowTitle(qs(TitleText(name)));
    }
  } keep{*this};
  CurrentFileIsDocument = false;  // set again by a read that loads
  OpenGPXFile(fileName);
}
