// The locale texts the model and formats need (short date, long time, decimal separator),
// taken from the user's system locale.
#pragma once
#include <QLocale>
#include <QString>

#include "base/LocaleFormats.h"

class SystemLocaleFormats : public LocaleFormats {
public:
  explicit SystemLocaleFormats(const QLocale& locale = QLocale::system());
  std::string shortDate(double dateTime) const override;
  std::string longTime(double dateTime) const override;
  std::string decimalSeparator() const override;

private:
  QLocale locale_;
  QString dateFormat_, timeFormat_;
  std::string decimal_;
};

// The locale's short date format with four-digit years ("dd.MM.yy" -> "dd.MM.yyyy"): two
// digits cannot tell 1901 from 2001. The order, separators and quoted text stay.
QString shortDateFormat(const QLocale& locale);

// Installs the system locale's formats for the whole program.
void installSystemLocaleFormats();
