// The translation call of every user-visible text: GNU gettext, domain "corvantel".
#pragma once
#include <string>

// Translation of an English message id; the id itself when no catalogue has it.
std::string _(const char* msgid);
inline std::string _(const std::string& msgid) { return _(msgid.c_str()); }

// Translation of a count's word through the catalogue's plural forms ("1 CRC error",
// "2 CRC errors"; "0 CRC errors" in English); the English forms when no catalogue has it.
std::string _n(const char* singular, const char* plural, unsigned long n);

// Plural lookup in the separate domain "plurals" (no catalogue is shipped for it, so the
// English singular or plural is shown).
std::string pluralText(const char* singular, const char* plural, unsigned long n);

// Binds the domain "corvantel" to a folder of <lang>/LC_MESSAGES/corvantel.mo catalogues.
void bindTranslations(const std::string& localeDir);
