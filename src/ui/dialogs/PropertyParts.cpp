#include "ui/dialogs/PropertyParts.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDateEdit>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTimeEdit>
#include <QUrl>

#include "base/DateTime.h"
#include "base/LocaleFormats.h"
#include "base/NumberText.h"
#include "base/Translate.h"
#include "ui/CommandGuard.h"
#include "formats/XmlFragmentCheck.h"
#include "model/GPX.h"
#include "ui/QtText.h"
#include "ui/SystemLocaleFormats.h"

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

// A date picker that takes a year typed with two digits in the current century (24 is 2024)
// once the user leaves the year: the four-digit year section would otherwise read it as the
// year 24, out of range, and quietly go back to the last date.
class TDatePicker : public QDateEdit {
public:
  using QDateEdit::QDateEdit;

protected:
  void focusOutEvent(QFocusEvent* event) override {
    completeTwoDigitYear();
    QDateEdit::focusOutEvent(event);
  }
  bool focusNextPrevChild(bool next) override {
    completeTwoDigitYear();
    return QDateEdit::focusNextPrevChild(next);
  }
  // Enter, and a separator typed after the year to move on to the next part of the date.
  void keyPressEvent(QKeyEvent* event) override {
    const QString text = event->text();
    const bool separator = currentSection() == YearSection && !text.isEmpty() && text.front().isPrint() &&
                           !text.front().isDigit();
    if (separator || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) completeTwoDigitYear();
    QDateEdit::keyPressEvent(event);
  }

private:
  void completeTwoDigitYear() {
    QString year = sectionText(YearSection);
    // The section shows "00" typed as "0000", a year that does not exist.
    if (year == "0000") year = "00";
    if (year.size() != 2 || !year[0].isDigit() || !year[1].isDigit()) return;
    const int century = decodeDateTime(nowLocal()).year / 100 * 100;
    // Only the year's digits change: the rest of the text stays as the user left it.
    setSelectedSection(YearSection);
    lineEdit()->insert(QString::number(century + year.toInt()));
  }
};

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

QPlainTextEdit* NewMemo(const char* name, int lines) {
  auto* m = new QPlainTextEdit;
  m->setObjectName(name);
  m->setTabChangesFocus(true);
  m->setMinimumHeight(m->fontMetrics().lineSpacing() * lines + 12);
  return m;
}

TTimeControls::TTimeControls(QWidget* owner)
    : Label(new QLabel(owner)),
      Date(new QCheckBox(owner)),
      Time(new QCheckBox(owner)),
      DatePicker(new TDatePicker(owner)),
      TimePicker(new QTimeEdit(owner)) {
  Label->setObjectName("lblTime");
  Date->setObjectName("cbDate");
  Time->setObjectName("cbTime");
  DatePicker->setObjectName("dtpDate");
  DatePicker->setCalendarPopup(true);
  DatePicker->setDisplayFormat(shortDateFormat(DatePicker->locale()));
  DatePicker->setDateRange(QDate(100, 1, 1), QDate(9999, 12, 31));
  TimePicker->setObjectName("dtpTime");
  TimePicker->setDisplayFormat("HH:mm:ss");
  auto guarded = [owner](auto handler) { return [owner, handler] { RunGuarded(owner, handler); }; };
  QObject::connect(Date, &QCheckBox::clicked, owner, guarded([this] { DateClick(); }));
  QObject::connect(Time, &QCheckBox::clicked, owner, guarded([this] { TimeClick(); }));
  QObject::connect(DatePicker, &QDateEdit::dateChanged, owner, guarded([this] { DateChange(); }));
  QObject::connect(TimePicker, &QTimeEdit::timeChanged, owner, guarded([this] { TimeChange(); }));
}

QBoxLayout* TTimeControls::PickerRow() const {
  auto* row = new QHBoxLayout;
  for (QWidget* w : std::initializer_list<QWidget*>{Date, DatePicker, Time, TimePicker}) row->addWidget(w);
  row->addStretch();
  return row;
}

void TTimeControls::Reset() {
  const QSignalBlocker b1(Date), b2(Time), b3(DatePicker);
  Date->setChecked(false);
  Time->setChecked(false);
  dateValue_ = timeValue_ = truncToInt(nowLocal());
  // The dialog's locale may have been set since the picker was built.
  DatePicker->setDisplayFormat(shortDateFormat(DatePicker->locale()));
}

void TTimeControls::Show(bool fromCheckBox) {
  const QSignalBlocker b1(DatePicker), b2(TimePicker), b3(Date), b4(Time);
  const double t = Value ? *Value : 0;
  if (t == 0) {
    Label->setText(qs(_("None")));
    if (!fromCheckBox) Date->setChecked(false);
  } else {
    Label->setText(qs(dateTimeText(t)));
    if (!fromCheckBox) Date->setChecked(true);
    dateValue_ = t;
    if (hasTimeOfDay(t)) {
      if (!fromCheckBox) Time->setChecked(true);
      timeValue_ = t;
    }
  }
  const DateTimeFields date = decodeDateTime(dateValue_), time = decodeDateTime(timeValue_);
  DatePicker->setDate(QDate(date.year, date.month, date.day));
  TimePicker->setTime(QTime(time.hour, time.minute, time.second, time.msec));
  if (!Date->isChecked()) Time->setChecked(false);
  DatePicker->setEnabled(Date->isChecked());
  Time->setEnabled(Date->isChecked());
  TimePicker->setEnabled(Time->isChecked());
}

void TTimeControls::DateClick() {
  if (!Value) return;
  if (!Date->isChecked()) {
    Time->setChecked(false);
    *Value = 0;
  }
  Show(true);
}

void TTimeControls::TimeClick() {
  if (!Value) return;
  if (!Time->isChecked()) {
    replaceTimeOfDay(dateValue_, QTime(0, 0));
    *Value = dateValue_;
  }
  Show(true);
}

void TTimeControls::DateChange() {
  if (!Value) return;
  if (!replaceDate(dateValue_, DatePicker->date())) return;
  replaceDate(timeValue_, DatePicker->date());
  *Value = dateValue_;
  Show(false);
}

void TTimeControls::TimeChange() {
  if (!Value) return;
  if (!replaceTimeOfDay(dateValue_, TimePicker->time())) return;
  timeValue_ = dateValue_;
  *Value = dateValue_;
  Show(false);
}
