#include "ui/dialogs/PropertyParts.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDateEdit>
#include <QDesktopServices>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTimeEdit>
#include <QUrl>
#include <QVBoxLayout>

#include "base/DateTime.h"
#include "base/LocaleFormats.h"
#include "base/NumberText.h"
#include "base/Translate.h"
#include "formats/XmlFragmentCheck.h"
#include "model/GPX.h"
#include "ui/QtText.h"

namespace {

bool hasTimeOfDay(double t) {
  const DateTimeFields f = decodeDateTime(t);
  return f.hour != 0 || f.minute != 0 || f.second != 0 || f.msec != 0;
}

// A date-time with another date, or another time of day; false when that gives no valid
// date-time.
bool replaceDate(double& value, const QDate& d) {
  DateTimeFields f = decodeDateTime(value);
  f.year = d.year();
  f.month = d.month();
  f.day = d.day();
  return tryEncodeDateTime(f, value);
}

bool replaceTimeOfDay(double& value, const QTime& t) {
  DateTimeFields f = decodeDateTime(value);
  f.hour = t.hour();
  f.minute = t.minute();
  f.second = t.second();
  f.msec = t.msec();
  return tryEncodeDateTime(f, value);
}

// The date, and the time when there is one, in the user's formats.
std::string dateTimeText(double t) {
  std::string text = localeFormats().shortDate(t);
  if (hasTimeOfDay(t)) text += " " + localeFormats().longTime(t);
  return text;
}

}  // namespace

LinkOpener desktopLinkOpener() {
  return [](const QUrl& url) { QDesktopServices::openUrl(url); };
}

void openLinkText(const QString& href, const LinkOpener& open) {
  const QString text = href.trimmed();
  if (text.size() <= 4 || !open) return;
  const QUrl url(text, QUrl::StrictMode);
  const QString scheme = url.scheme().toLower();
  if (url.isValid() && (scheme == "http" || scheme == "https" || scheme == "ftp" || scheme == "mailto")) open(url);
}

ColorAsker qtColorAsker() {
  return [](QWidget* parent, uint32_t initial) -> std::optional<uint32_t> {
    const QColor c = QColorDialog::getColor(colorFromBGR(initial), parent);
    if (!c.isValid()) return std::nullopt;
    return colorToBGR(c);
  };
}

QColor colorFromBGR(uint32_t color) { return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF); }

uint32_t colorToBGR(const QColor& color) {
  return uint32_t(color.red()) | uint32_t(color.green()) << 8 | uint32_t(color.blue()) << 16;
}

std::string ExtensionTextError(const std::string& text, const TGPX* document) {
  const TGPX none;
  return GPXExtensionTextError(text, document ? *document : none);
}

void BuildExtensionsPage(QWidget* page, QPlainTextEdit*& memo, QLabel*& errorLabel) {
  auto* layout = new QVBoxLayout(page);
  memo = new QPlainTextEdit;
  memo->setObjectName("mExtensions");
  memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  errorLabel = new QLabel;
  errorLabel->setObjectName("lblExtensionsError");
  errorLabel->setWordWrap(true);
  errorLabel->setStyleSheet("color: #b00000");
  errorLabel->hide();
  layout->addWidget(memo);
  layout->addWidget(errorLabel);
}

bool ShowExtensionTextError(const std::string& text, const TGPX* document, QPlainTextEdit* memo,
                            QLabel* errorLabel, QTabWidget* pages) {
  const std::string error = ExtensionTextError(text, document);
  if (error.empty()) return false;
  errorLabel->setText(qs(_("The extensions are not well-formed XML:")) + " " + qs(error));
  errorLabel->show();
  pages->setCurrentWidget(memo->parentWidget());
  memo->setFocus();
  return true;
}

QBoxLayout* BuildOkCancelRow(QDialog* dialog, QWidget* left, QPushButton*& ok, QPushButton*& cancel) {
  ok = new QPushButton(qs(_("OK")));
  ok->setObjectName("btnOK");
  cancel = new QPushButton(qs(_("Cancel")));
  cancel->setObjectName("btnCancel");
  ok->setAutoDefault(false);
  cancel->setDefault(true);
  auto* row = new QHBoxLayout;
  if (left) row->addWidget(left);
  row->addStretch();
  row->addWidget(ok);
  row->addWidget(cancel);
  QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
  QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
  return row;
}

TTimeControls::TTimeControls(QLabel* label, QCheckBox* date, QDateEdit* datePicker, QCheckBox* time,
                             QTimeEdit* timePicker)
    : label_(label), date_(date), time_(time), datePicker_(datePicker), timePicker_(timePicker) {}

void TTimeControls::Reset() {
  const QSignalBlocker b1(date_), b2(time_);
  date_->setChecked(false);
  time_->setChecked(false);
  dateValue_ = timeValue_ = truncToInt(nowLocal());
}

void TTimeControls::Show(bool fromCheckBox) {
  const QSignalBlocker b1(datePicker_), b2(timePicker_), b3(date_), b4(time_);
  const double t = Value ? *Value : 0;
  if (t == 0) {
    label_->setText(qs(_("None")));
    if (!fromCheckBox) date_->setChecked(false);
  } else {
    label_->setText(qs(dateTimeText(t)));
    if (!fromCheckBox) date_->setChecked(true);
    dateValue_ = t;
    if (hasTimeOfDay(t)) {
      if (!fromCheckBox) time_->setChecked(true);
      timeValue_ = t;
    }
  }
  const DateTimeFields date = decodeDateTime(dateValue_), time = decodeDateTime(timeValue_);
  datePicker_->setDate(QDate(date.year, date.month, date.day));
  timePicker_->setTime(QTime(time.hour, time.minute, time.second, time.msec));
  if (!date_->isChecked()) time_->setChecked(false);
  datePicker_->setEnabled(date_->isChecked());
  time_->setEnabled(date_->isChecked());
  timePicker_->setEnabled(time_->isChecked());
}

void TTimeControls::DateClick() {
  if (!Value) return;
  if (!date_->isChecked()) {
    time_->setChecked(false);
    *Value = 0;
  }
  Show(true);
}

void TTimeControls::TimeClick() {
  if (!Value) return;
  if (!time_->isChecked()) {
    replaceTimeOfDay(dateValue_, QTime(0, 0));
    *Value = dateValue_;
  }
  Show(true);
}

void TTimeControls::DateChange() {
  if (!Value) return;
  if (!replaceDate(dateValue_, datePicker_->date())) return;
  replaceDate(timeValue_, datePicker_->date());
  *Value = dateValue_;
  Show(false);
}

void TTimeControls::TimeChange() {
  if (!Value) return;
  if (!replaceTimeOfDay(dateValue_, timePicker_->time())) return;
  timeValue_ = dateValue_;
  *Value = dateValue_;
  Show(false);
}
