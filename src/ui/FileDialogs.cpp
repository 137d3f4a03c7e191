// The file dialogs of the file, import and export commands.
#include "ui/FileDialogs.h"

#include <QFileDialog>

#include "base/Translate.h"

std::vector<std::string> askFileNames(QWidget* parent, const TFileDialogRequest& request) {
  QFileDialog dialog(parent);
  dialog.setObjectName(QString::fromStdString(request.ObjectName));
  dialog.setNameFilter(QString::fromStdString(request.Filter));
  if (!request.DefaultSuffix.empty()) dialog.setDefaultSuffix(QString::fromStdString(request.DefaultSuffix));
  if (!request.FileName.empty()) dialog.selectFile(QString::fromStdString(request.FileName));
  if (request.Save) {
    // The dialog asks before a file is replaced: a slip of the mouse must not cost a file.
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A typed name that does not exist is let through; the command reports it.
    dialog.setFileMode(request.Multiple ? QFileDialog::ExistingFiles : QFileDialog::AnyFile);
  }
  std::vector<std::string> names;
  if (dialog.exec() != QDialog::Accepted) return names;
  for (const QString& name : dialog.selectedFiles()) names.push_back(name.toStdString());
  return names;
}

std::string fileFilter(const std::string& name, const std::string& pattern) {
  return name + " (" + pattern + ");;" + _("All files") + " (*)";
}
