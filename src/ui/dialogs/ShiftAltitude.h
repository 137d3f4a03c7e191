// The shift altitude dialog: the number of metres to add to a segment's elevations.
// Cancel is the default button, so Enter cancels as Escape does.
#pragma once
#include <QDialog>

class QLineEdit;

class TShiftAltitudeForm : public QDialog {
  Q_OBJECT
public:
  explicit TShiftAltitudeForm(QWidget* parent = nullptr);
  // The typed text; it stays between showings.
  QLineEdit* edtAltitude = nullptr;
};
