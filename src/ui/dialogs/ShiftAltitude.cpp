// The shift altitude dialog.
#include "ui/dialogs/ShiftAltitude.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/Translate.h"
#include "ui/QtText.h"

TShiftAltitudeForm::TShiftAltitudeForm(QWidget* parent) : QDialog(parent) {
  setObjectName("ShiftAltitudeForm");
  setWindowTitle(qs(_("Shift altitude")));
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  layout->addLayout(row);
  auto* label1 = new QLabel(qs(_("Shift altitude by :")), this);
  label1->setObjectName("Label1");
  edtAltitude = new QLineEdit("0", this);
  edtAltitude->setObjectName("edtAltitude");
  auto* label2 = new QLabel(qs(_("meter")), this);
  label2->setObjectName("Label2");
  row->addWidget(label1);
  row->addWidget(edtAltitude);
  row->addWidget(label2);
  auto* buttons = new QHBoxLayout;
  layout->addLayout(buttons);
  auto* btnOK = new QPushButton(qs(_("OK")), this);
  btnOK->setObjectName("btnOK");
  btnOK->setAutoDefault(false);
  auto* btnCancel = new QPushButton(qs(_("Cancel")), this);
  btnCancel->setObjectName("btnCancel");
  btnCancel->setDefault(true);
  buttons->addWidget(btnOK);
  buttons->addWidget(btnCancel);
  connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}
