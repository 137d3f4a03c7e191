// The language choice of the translation start-up.
#include <gtest/gtest.h>

#include <map>

#include "platform/Translations.h"

TEST(Translations, LanguageComesFromLangFirst) {
  struct Case {
    std::map<std::string, std::string> env;
    const char* language;
    const char* list;
  } cases[] = {
      {{{"LANG", "fr_FR.UTF-8"}, {"LC_ALL", "de_DE.UTF-8"}}, "fr_FR.UTF-8", "fr_FR:fr"},
      {{{"LC_ALL", "nl_BE.UTF-8@euro"}}, "nl_BE.UTF-8@euro", "nl_BE:nl"},
      {{{"LANG", ""}, {"LC_MESSAGES", "ru_RU.UTF-8"}}, "ru_RU.UTF-8", "ru_RU:ru"},
      // LANG asks for the source texts: the list names them, so a translated LC_ALL cannot win.
      {{{"LANG", "C.UTF-8"}, {"LC_ALL", "de_DE.UTF-8"}}, "", "en"},
      {{{"LANG", "POSIX"}}, "", "en"},
      {{{"LANG", "ca"}}, "ca", "ca"},
      {{}, "", "en"},
  };
  for (const Case& c : cases) {
    std::string language = chooseLanguage([&](const char* n) -> const char* {
      auto it = c.env.find(n);
      return it == c.env.end() ? nullptr : it->second.c_str();
    });
    EXPECT_EQ(language, c.language);
    EXPECT_EQ(languageList(language), c.list);
  }
}
