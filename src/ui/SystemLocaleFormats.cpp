// Locale texts from QLocale::system().
#include "ui/SystemLocaleFormats.h"

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>

#include "base/DateTime.h"

namespace {

QDateTime toQDateTime(double value) {
  DateTimeFields f = decodeDateTime(value);
  return QDateTime(QDate(f.year, f.month, f.day), QTime(f.hour, f.minute, f.second, f.msec));
}

}  // namespace

SystemLocaleFormats::SystemLocaleFormats() {
  QLocale locale = QLocale::system();
  dateFormat_ = locale.dateFormat(QLocale::ShortFormat).toStdString();
  // The long format ends in a time-zone name in many locales; a log line or a status bar
  // wants hours, minutes and seconds only.
  QString time = locale.timeFormat(QLocale::LongFormat);
  time.remove(QRegularExpression("\\s*\\bt+\\b\\s*"));
  timeFormat_ = time.trimmed().toStdString();
  decimal_ = QString(locale.decimalPoint()).toStdString();
}

std::string SystemLocaleFormats::shortDate(double dateTime) const {
  return QLocale::system()
      .toString(toQDateTime(dateTime).date(), QString::fromStdString(dateFormat_))
      .toStdString();
}

std::string SystemLocaleFormats::longTime(double dateTime) const {
  return QLocale::system()
      .toString(toQDateTime(dateTime).time(), QString::fromStdString(timeFormat_))
      .toStdString();
}

std::string SystemLocaleFormats::decimalSeparator() const { return decimal_; }

void installSystemLocaleFormats() { setLocaleFormats(std::make_unique<SystemLocaleFormats>()); }
