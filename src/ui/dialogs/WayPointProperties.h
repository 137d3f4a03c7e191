// The waypoint properties dialog: edits every GPX field of one waypoint, route point or
// track point, in a copy that the main window hands in and puts in place on OK.
#pragma once
#include <functional>
#include <memory>
#include <optional>

#include <QString>

#include "ui/dialogs/PropertyDialog.h"
#include "ui/dialogs/PropertyParts.h"

class QButtonGroup;
class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTimeEdit;
class QToolButton;
class QUrl;
class TGPX;
class TGPXwpt;

// A typed coordinate: a number with '.' (else with the locale's decimal separator), an
// optional degree sign and hemisphere letter after it, as the dialog shows it. The letter
// `negativeLetter` (the translated "S" or "W", any case) makes it negative. False when the
// text holds no number.
bool parseCoordinateText(const QString& text, const QString& negativeLetter, double& value);

class TWayPointPropertiesForm : public TPropertyDialog {
  Q_OBJECT
public:
  explicit TWayPointPropertiesForm(QWidget* parent = nullptr);

  // The point edited, owned by the caller; set before each showing. Showing never writes into
  // it: only the user's changes do.
  void SetPoint(TGPXwpt* point) { point_ = point; }
  TGPXwpt* Point() const { return point_; }
  // The altitude of a place from the elevation web service; none when the answer is no
  // number; throws when the request fails. Unset: the button does nothing.
  std::function<std::optional<double>(double lat, double lon)> QueryElevation;
  // Opens a link address on the desktop; tests replace it.
  LinkOpener OpenLink;

  // Fills every control from the point.
  void FormShow() override;
  void ShowLatitude();
  void ShowLongitude();
  void ShowAltitude();
  // `fromCheckBox`: the check boxes keep the state the user gave them.
  void ShowTime(bool fromCheckBox);

  void sbLatitudeClick();
  void sbLongitudeClick();
  void sbAltitudeClick();
  void sbDownloadAltitudeDataClick();
  void btnOpenLinkClick();
  void rgWPtypeClick(int id);
  void cbDateClick();
  void cbTimeClick();
  void dtpDateChange();
  void dtpTimeChange();

  // True while an elevation request runs.
  bool Busy() const { return busy_; }
  // OK: refused while extension text typed here is not sound XML.
  void accept() override;
  // Cancel, Escape and the close box: while a request runs, the dialog closes when it ends.
  void reject() override;

protected:
  void closeEvent(QCloseEvent* event) override;

private:
  void BuildControls();
  void applyCoordinate(QLineEdit* edit, bool latitude);
  void finishRequest();
  void setRequestRunning(bool running);

  TGPXwpt* point_ = nullptr;
  bool busy_ = false;
  bool cancelPending_ = false;
  std::unique_ptr<TTimeControls> time_;

  QLabel *lblLatitude = nullptr, *lblLongitude = nullptr, *lblAltitude = nullptr, *lblTime = nullptr;
  QLineEdit *edtLatitude = nullptr, *edtLongitude = nullptr, *edtAltitude = nullptr;
  QToolButton *sbLatitude = nullptr, *sbLongitude = nullptr, *sbAltitude = nullptr,
              *sbDownloadAltitudeData = nullptr, *btnOpenLink = nullptr;
  QCheckBox *cbDate = nullptr, *cbTime = nullptr, *cbEnabled = nullptr;
  QDateEdit* dtpDate = nullptr;
  QTimeEdit* dtpTime = nullptr;
  QLineEdit *edtWPName = nullptr, *edtWPSymbol = nullptr, *edtWPLinkURL = nullptr,
            *edtWPLinkText = nullptr, *edtWPLinkType = nullptr, *edtWPSat = nullptr,
            *edtWPageofdata = nullptr, *edtWPdgpsid = nullptr, *edtWPhdop = nullptr,
            *edtWPvdop = nullptr, *edtWPpdop = nullptr, *edtWPtype = nullptr;
  QPlainTextEdit *mWPComment = nullptr, *mWPDesc = nullptr, *mWPSrc = nullptr;
  QTabWidget* pgWPLink = nullptr;
  QButtonGroup* rgWPtype = nullptr;
};
