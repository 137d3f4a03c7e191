// The locale-dependent texts (short date, long time, decimal separator) that the model and
// formats need. The ui installs one built from the system locale; tests keep the fixed default.
#pragma once
#include <memory>
#include <string>

class LocaleFormats {
public:
  virtual ~LocaleFormats() = default;
  // Date part of a date-time in the short date format. Default: "yyyy-mm-dd".
  virtual std::string shortDate(double dateTime) const;
  // Time of day in the long time format. Default: "hh:nn:ss".
  virtual std::string longTime(double dateTime) const;
  // Decimal separator of the user's locale. Default: ".".
  virtual std::string decimalSeparator() const;
};

// The installed formats (the fixed default until something else is installed).
const LocaleFormats& localeFormats();
// Installs new formats; nullptr restores the default.
void setLocaleFormats(std::unique_ptr<LocaleFormats> formats);
