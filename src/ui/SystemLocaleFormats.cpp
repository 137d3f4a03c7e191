// Locale texts from QLocale::system().
#include "ui/SystemLocaleFormats.h"

#include <QDateTime>
#include <QRegularExpression>

#include "base/DateTime.h"

namespace {

QDateTime toQDateTime(double value) {
  DateTimeFields f = decodeDateTime(value);
  return QDateTime(QDate(f.year, f.month, f.day), QTime(f.hour, f.minute, f.second, f.msec));
}

}  // namespace

QString shortDateFormat(const QLocale& locale) {
  const QString format = locale.dateFormat(QLocale::ShortFormat);
  QString out;
  bool quoted = false;
  for (qsizetype i = 0; i < format.size(); ++i) {
    const QChar c = format[i];
    if (c == '\'') quoted = !quoted;
    if (quoted || c != 'y') {
      out += c;
      continue;
    }
    while (i + 1 < format.size() && format[i + 1] == 'y') ++i;
    out += "yyyy";
  }
  return out;
}

SystemLocaleFormats::SystemLocaleFormats(const QLocale& locale) : locale_(locale) {
  dateFormat_ = shortDateFormat(locale);
  // The long format ends in a time-zone name in many locales, in brackets in some ("H:mm:ss
  // (t)"); a log line or a status bar wants hours, minutes and seconds only.
  QString time = locale.timeFormat(QLocale::LongFormat);
  time.remove(QRegularExpression("\\s*\\(?\\bt+\\b\\)?\\s*"));
  timeFormat_ = time.trimmed();
  decimal_ = QString(locale.decimalPoint()).toStdString();
}

std::string SystemLocaleFormats::shortDate(double dateTime) const {
  return locale_.toString(toQDateTime(dateTime).date(), dateFormat_).toStdString();
}

std::string SystemLocaleFormats::longTime(double dateTime) const {
  return locale_.toString(toQDateTime(dateTime).time(), timeFormat_).toStdString();
}

std::string SystemLocaleFormats::decimalSeparator() const { return decimal_; }

void installSystemLocaleFormats() { setLocaleFormats(std::make_unique<SystemLocaleFormats>()); }
