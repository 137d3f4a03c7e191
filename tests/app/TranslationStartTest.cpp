// The program's start-up under a French locale that this machine may not have generated:
// the catalogues carried inside the program still translate the menus.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include <QCoreApplication>
#include <QMenu>

#include "base/Translate.h"
#include "platform/AppPaths.h"
#include "platform/Translations.h"
#include "ui/CommandGuard.h"
#include "ui/Main.h"

namespace fs = std::filesystem;

namespace {
fs::path tempFolder;
}

TEST(TranslationStart, FrenchMenusUnderLangFrFr) {
  AppPaths::setProgramFolder(tempFolder.string());
  TMainForm form;
  auto* file = form.findChild<QMenu*>("MenuFile");
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->title().toStdString(), "&Fichier");
  EXPECT_EQ(form.findChild<QMenu*>("MenuEdit")->title().toStdString(), "\xC3\x89&dition");
  EXPECT_EQ(_("has been modified, do you want to save it ?"),
            "a \xC3\xA9t\xC3\xA9 modifi\xC3\xA9, voulez-vous l'enregistrer ?");
}

TEST(TranslationStart, QtsOwnTextsSpeakTheSameLanguage) {
  EXPECT_FALSE(installQtTranslations("en"));
  ASSERT_TRUE(installQtTranslations(std::getenv("LANGUAGE")));
  // A button of the close question and a label of the file dialog.
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes").toStdString(), "&Oui");
  EXPECT_EQ(QCoreApplication::translate("QFileDialog", "File &name:").toStdString(), "&Nom de fichier :");
}

TEST(TranslationStart, GermanValueCommandsSayTheyDelete) {
  const std::string languages = std::getenv("LANGUAGE"), folder = (tempFolder / "locale").string();
  setenv("LANGUAGE", "de", 1);
  bindTranslations(folder);  // looks the texts up afresh
  for (const char* id : {"Delete point with value below", "Delete point with value above"})
    EXPECT_EQ(_(id).rfind("Punkte l\xC3\xB6schen mit Wert ", 0), 0u) << _(id);  // the verb before the value
  setenv("LANGUAGE", languages.c_str(), 1);
  bindTranslations(folder);
}

// A device (a pipe for a user) linked in a catalogue's place stays, and gettext, which would
// wait on the pipe, opens nothing there: the editor speaks English.
TEST(TranslationStart, ACatalogueThatCannotBeWrittenLeavesTheEditorInEnglish) {
  const char* set = std::getenv("LANGUAGE");
  const std::string languages = set ? set : "", node = (tempFolder / "node").string();
  // A device where the user may make one (root with the right to), else a pipe.
  const bool device = ::geteuid() == 0 && ::mknod(node.c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0;
  ASSERT_TRUE(device || ::mkfifo(node.c_str(), 0600) == 0);
  fs::create_directories(tempFolder / "held/fr/LC_MESSAGES");
  fs::create_symlink(node, tempFolder / "held/fr/LC_MESSAGES/corvantel.mo");
  EXPECT_EQ(initialiseTranslations((tempFolder / "held").string()).CatalogueErrors.size(), 1u);
  EXPECT_EQ(fs::status(node).type(), device ? fs::file_type::character : fs::file_type::fifo);
  EXPECT_EQ(_("&File"), "&File");
  setenv("LANGUAGE", languages.c_str(), 1);
  bindTranslations((tempFolder / "locale").string());
}

int main(int argc, char** argv) {
  // As the program starts for a French user: LANG alone names the language.
  setenv("LANG", "fr_FR.UTF-8", 1);
  for (const char* v : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"}) unsetenv(v);
  tempFolder = fs::temp_directory_path() / ("corvantel_tr_" + std::to_string(::getpid()));
  fs::create_directories(tempFolder);
  TranslationSetup setup = initialiseTranslations((tempFolder / "locale").string());
  EXPECT_TRUE(fs::exists(tempFolder / "locale/fr/LC_MESSAGES/corvantel.mo"));
  TApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  int rc = RUN_ALL_TESTS();
  fs::remove_all(tempFolder);
  return rc;
}
