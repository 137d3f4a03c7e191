// The locale texts the model and formats need (short date, long time, decimal separator),
// taken from the user's system locale.
#pragma once
#include "base/LocaleFormats.h"

class SystemLocaleFormats : public LocaleFormats {
public:
  SystemLocaleFormats();
  std::string shortDate(double dateTime) const override;
  std::string longTime(double dateTime) const override;
  std::string decimalSeparator() const override;

private:
  std::string dateFormat_, timeFormat_, decimal_;
};

// Installs the system locale's formats for the whole program.
void installSystemLocaleFormats();
