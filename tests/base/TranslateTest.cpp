// The translation calls and the default locale formats.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "base/DateTime.h"
#include "base/LocaleFormats.h"
#include "base/Translate.h"

namespace {

TEST(Translate, EnglishPassesThroughWithoutCatalogue) {
  bindTranslations("/nonexistent");
  EXPECT_EQ(_("Open GPX file"), "Open GPX file");
  EXPECT_EQ(_(std::string("Caf\xC3\xA9")), "Caf\xC3\xA9");
  EXPECT_EQ(_(""), "");
  EXPECT_EQ(pluralText("%d point", "%d points", 1), "%d point");
  EXPECT_EQ(pluralText("%d point", "%d points", 0), "%d points");
  EXPECT_EQ(pluralText("%d point", "%d points", 2), "%d points");
}

TEST(Translate, BoundCatalogueTranslatesToUtf8) {
  if (std::system("command -v msgfmt >/dev/null 2>&1") != 0) GTEST_SKIP() << "msgfmt not installed";
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("corvantel-mo-" + std::to_string(::getpid()));
  fs::create_directories(dir / "de" / "LC_MESSAGES");
  {
    std::ofstream po(dir / "de.po");
    po << "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n"
          "msgid \"Open\"\nmsgstr \"\xC3\x96" "ffnen\"\n";
  }
  const std::string cmd = "msgfmt -o '" + (dir / "de" / "LC_MESSAGES" / "corvantel.mo").string() + "' '" +
                          (dir / "de.po").string() + "'";
  ASSERT_EQ(std::system(cmd.c_str()), 0);

  const std::string savedLocale = std::setlocale(LC_ALL, nullptr);
  ASSERT_NE(std::setlocale(LC_ALL, "C.UTF-8"), nullptr);
  ::setenv("LANGUAGE", "de", 1);
  bindTranslations(dir.string());
  EXPECT_EQ(_("Open"), "\xC3\x96" "ffnen");
  EXPECT_EQ(_("Close"), "Close");
  ::unsetenv("LANGUAGE");
  std::setlocale(LC_ALL, savedLocale.c_str());
  bindTranslations("/nonexistent");
  fs::remove_all(dir);
}

class ShortNames : public LocaleFormats {
public:
  std::string decimalSeparator() const override { return ","; }
};

TEST(LocaleFormatsTest, FixedDefaultAndReplacement) {
  const double v = encodeDateTime(2024, 3, 5, 7, 8, 9, 999);
  EXPECT_EQ(localeFormats().shortDate(v), "2024-03-05");
  EXPECT_EQ(localeFormats().longTime(v), "07:08:09");
  EXPECT_EQ(localeFormats().decimalSeparator(), ".");
  EXPECT_EQ(localeFormats().shortDate(encodeDateTime(987, 1, 2)), "0987-01-02");
  setLocaleFormats(std::make_unique<ShortNames>());
  EXPECT_EQ(localeFormats().decimalSeparator(), ",");
  setLocaleFormats(nullptr);
  EXPECT_EQ(localeFormats().decimalSeparator(), ".");
}

}  // namespace
