// The fixed default locale formats and the slot that holds the installed ones.
#include "LocaleFormats.h"

#include "DateTime.h"
#include "NumberText.h"

namespace {
std::unique_ptr<LocaleFormats>& installed() {
  static std::unique_ptr<LocaleFormats> formats = std::make_unique<LocaleFormats>();
  return formats;
}
}  // namespace

std::string LocaleFormats::shortDate(double dateTime) const {
  const DateTimeFields f = decodeDateTime(dateTime);
  return formatIntPadded(f.year, 4) + "-" + formatIntPadded(f.month, 2) + "-" + formatIntPadded(f.day, 2);
}

std::string LocaleFormats::longTime(double dateTime) const {
  const DateTimeFields f = decodeDateTime(dateTime);
  return formatIntPadded(f.hour, 2) + ":" + formatIntPadded(f.minute, 2) + ":" + formatIntPadded(f.second, 2);
}

std::string LocaleFormats::decimalSeparator() const { return "."; }

const LocaleFormats& localeFormats() { return *installed(); }

void setLocaleFormats(std::unique_ptr<LocaleFormats> formats) {
  installed() = formats ? std::move(formats) : std::make_unique<LocaleFormats>();
}
