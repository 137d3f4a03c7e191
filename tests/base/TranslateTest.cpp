// The translation calls and the default locale formats.
#include <gtest/gtest.h>

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
