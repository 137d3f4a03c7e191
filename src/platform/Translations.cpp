// Language choice and catalogue unpacking.
#include "platform/Translations.h"

#include <clocale>
#include <cstdlib>
#include <system_error>

#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QDir>
#include <QTranslator>

#include "base/AtomicFile.h"
#include "base/FileText.h"
#include "base/Translate.h"
#include "platform/AppPaths.h"

std::string chooseLanguage(const std::function<const char*(const char*)>& getEnv) {
  std::string lang;
  for (const char* name : {"LANG", "LC_ALL", "LC_MESSAGES"}) {
    const char* v = getEnv(name);
    if (v && *v) {
      lang = v;
      break;
    }
  }
  if (lang == "C" || lang == "POSIX" || lang.rfind("C.", 0) == 0) return {};
  return lang;
}

std::string languageList(const std::string& language) {
  std::string base = language.substr(0, language.find_first_of(".@"));
  // The source language still needs a list: without one, an LC_ALL or LC_MESSAGES naming
  // another language would translate although LANG chose the source texts. No "en"
  // catalogue exists, so the message ids show.
  if (base.empty() || base == "C" || base == "POSIX") return "en";
  std::string shortName = base.substr(0, base.find('_'));
  return shortName == base ? base : base + ":" + shortName;
}

int unpackCatalogues(const std::string& resourceRoot, const std::string& folder,
                     std::vector<std::string>* errors) {
  int count = 0;
  QDirIterator it(QString::fromStdString(resourceRoot), {"*.mo"}, QDir::Files,
                  QDirIterator::Subdirectories);
  const QString root = QString::fromStdString(resourceRoot);
  while (it.hasNext()) {
    const QString path = it.next();
    const QString target = QString::fromStdString(folder) + path.mid(root.size());
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) continue;
    const QByteArray data = in.readAll();
    const std::string_view ours(data.constData(), static_cast<size_t>(data.size()));
    ++count;
    // Compared through our own reader, which never waits on a pipe put in the catalogue's place.
    std::string old, error;
    if (readFileText(target.toStdString(), old, error) && old == ours) continue;
    QDir().mkpath(QFileInfo(target).absolutePath());
    try {
      // Renamed into place whole: a concurrent start-up never sees half a catalogue.
      writeFileAtomically(target.toStdString(), ours);
    } catch (const std::system_error& e) {
      if (errors) errors->push_back(e.what());
    }
  }
  return count;
}

TranslationSetup initialiseTranslations(const std::string& folder) {
  TranslationSetup setup;
  setup.Language = chooseLanguage([](const char* n) { return std::getenv(n); });
  if (!std::setlocale(LC_ALL, "")) {
    // The user's locale is not generated on this machine: gettext still translates under
    // C.UTF-8 when LANGUAGE names the language.
    std::setlocale(LC_ALL, "C.UTF-8");
    setup.LocaleFallback = true;
  }
  const char* language = std::getenv("LANGUAGE");
  std::string list = languageList(setup.Language);
  // LANG decides over LC_ALL, as the language choice says, unless the user set LANGUAGE.
  if (!language || !*language) setenv("LANGUAGE", list.c_str(), 1);
  setup.CatalogueFolder = folder.empty() ? AppPaths::cacheFolder() + "locale" : folder;
  unpackCatalogues(":/locale", setup.CatalogueFolder, &setup.CatalogueErrors);
  // The source texts: no "en" catalogue is unpacked, so gettext opens none of these places.
  if (!setup.CatalogueErrors.empty()) setenv("LANGUAGE", "en", 1);
  bindTranslations(setup.CatalogueFolder);
  return setup;
}

bool installQtTranslations(const std::string& languages) {
  const std::string first = languages.substr(0, languages.find(':'));
  if (first.empty() || first == "en" || !QCoreApplication::instance()) return false;
  auto* translator = new QTranslator(QCoreApplication::instance());
  // "qtbase_de_DE" falls back to "qtbase_de" by itself.
  if (!translator->load(QString::fromStdString("qtbase_" + first),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}
