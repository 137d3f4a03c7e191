// Start-up of the message catalogues: picks the language, makes sure the C library can
// translate even when that locale is not generated, unpacks the catalogues carried inside
// the program and binds the "corvantel" domain to them.
#pragma once
#include <functional>
#include <string>
#include <vector>

struct TranslationSetup {
  std::string Language;    // "fr_FR.UTF-8", or empty for the source language
  bool LocaleFallback = false;  // the locale was missing; C.UTF-8 with LANGUAGE stands in
  std::string CatalogueFolder;  // the folder bound to the domain
  // Catalogues that could not be unpacked, each with the reason. The editor then runs in
  // English: gettext would read, or wait on, whatever stands in their place.
  std::vector<std::string> CatalogueErrors;
};

// The language: LANG when set, else the system locale (LC_ALL, LC_MESSAGES). Empty, "C" and
// "POSIX" mean the source language.
std::string chooseLanguage(const std::function<const char*(const char*)>& getEnv);

// "fr_FR.UTF-8@euro" -> "fr_FR:fr", the LANGUAGE list gettext searches. "en" (the source
// texts) for an empty language, C or POSIX.
std::string languageList(const std::string& language);

// Copies every catalogue under the resource folder `resourceRoot` (":/locale") into
// `folder` (<lang>/LC_MESSAGES/corvantel.mo), rewriting only the files whose contents differ.
// They are saved as the settings file is: a link is followed and kept, and a device, pipe or
// folder in a catalogue's place is left as it is, with the reason added to `errors`.
// Returns the number of catalogues found.
int unpackCatalogues(const std::string& resourceRoot, const std::string& folder,
                     std::vector<std::string>* errors = nullptr);

// Runs all of the above before the application object exists. The catalogues go to
// <cache folder>/locale, or to `folder` when given.
TranslationSetup initialiseTranslations(const std::string& folder = {});

// Loads Qt's own catalogue ("qtbase_<lang>", for the file dialog and the standard buttons)
// for the first language of `languages` (a LANGUAGE list such as "de_DE:de") into the
// application. False for the source language or when no such catalogue is installed.
bool installQtTranslations(const std::string& languages);
