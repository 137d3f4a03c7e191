// Translation through GNU gettext: domain "corvantel" for messages, "plurals" for counts.
#include "Translate.h"

#include <libintl.h>

namespace {
constexpr const char* messageDomain = "corvantel";
constexpr const char* pluralDomain = "plurals";
}  // namespace

std::string _(const char* msgid) {
  if (msgid == nullptr || *msgid == '\0') return {};  // "" would fetch the catalogue header
  return dgettext(messageDomain, msgid);
}

std::string _n(const char* singular, const char* plural, unsigned long n) {
  return dngettext(messageDomain, singular, plural, n);
}

std::string pluralText(const char* singular, const char* plural, unsigned long n) {
  return dngettext(pluralDomain, singular, plural, n);
}

void bindTranslations(const std::string& localeDir) {
  bindtextdomain(messageDomain, localeDir.c_str());
  bind_textdomain_codeset(messageDomain, "UTF-8");
  bind_textdomain_codeset(pluralDomain, "UTF-8");
}
