#include "ui/dialogs/PropertyDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

#include "base/Translate.h"
#include "ui/CommandGuard.h"
#include "ui/QtText.h"
#include "ui/dialogs/PropertyParts.h"

TPropertyDialog::TPropertyDialog(QWidget* parent) : QDialog(parent) {
  PageControl1 = new QTabWidget;
  PageControl1->setObjectName("PageControl1");
}

void TPropertyDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) RunGuarded(this, [this] { FormShow(); });
}

QWidget* TPropertyDialog::AddPage(const char* name, const std::string& caption) {
  auto* w = new QWidget;
  w->setObjectName(name);
  PageControl1->addTab(w, qs(caption));
  return w;
}

void TPropertyDialog::BuildExtensionsPage(std::function<void(const std::string&)> write) {
  auto* layout = new QVBoxLayout(AddPage("TabSheetExtensions", _("Extensions")));
  mExtensions = new QPlainTextEdit;
  mExtensions->setObjectName("mExtensions");
  mExtensions->setLineWrapMode(QPlainTextEdit::NoWrap);
  lblExtensionsError = new QLabel;
  lblExtensionsError->setObjectName("lblExtensionsError");
  lblExtensionsError->setWordWrap(true);
  lblExtensionsError->setStyleSheet("color: #b00000");
  lblExtensionsError->hide();
  layout->addWidget(mExtensions);
  layout->addWidget(lblExtensionsError);
  // Filling runs with the memo's signals blocked: only what the user types counts.
  connect(mExtensions, &QPlainTextEdit::textChanged, this, [this, write] {
    write(mExtensions->toPlainText().toStdString());
    extensionsTyped_ = true;
    lblExtensionsError->hide();
  });
}

QBoxLayout* TPropertyDialog::BuildButtonRow(QWidget* left) {
  btnOK = new QPushButton(qs(_("OK")));
  btnOK->setObjectName("btnOK");
  btnCancel = new QPushButton(qs(_("Cancel")));
  btnCancel->setObjectName("btnCancel");
  // Enter cancels as Escape does: nothing is taken by accident.
  btnOK->setAutoDefault(false);
  btnCancel->setDefault(true);
  auto* row = new QHBoxLayout;
  if (left) row->addWidget(left);
  row->addStretch();
  row->addWidget(btnOK);
  row->addWidget(btnCancel);
  connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
  return row;
}

void TPropertyDialog::StartShowing() {
  PageControl1->setCurrentIndex(0);
  btnCancel->setFocus();
  lblExtensionsError->hide();
  extensionsTyped_ = false;
}

bool TPropertyDialog::ExtensionsRefused(const std::string& text) {
  if (!extensionsTyped_) return false;
  const std::string error = ExtensionTextError(text, Document);
  if (error.empty()) return false;
  lblExtensionsError->setText(qs(_("The extensions are not well-formed XML:")) + " " + qs(error));
  lblExtensionsError->show();
  PageControl1->setCurrentWidget(mExtensions->parentWidget());
  mExtensions->setFocus();
  return true;
}
