// Start-up in the order the program needs: the message catalogues before any text is made,
// then the application titled "Corvantel", then the main window, then the event loop.
#include "app/Startup.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include <QTimer>

#include "base/Translate.h"
#include "platform/Translations.h"
#include "platform/WebEngineBrowser.h"
#include "ui/CommandGuard.h"
#include "ui/Main.h"
#include "ui/SystemLocaleFormats.h"

int RunCorvantel(int argc, char** argv) {
  const TranslationSetup translations = initialiseTranslations();
  const WebEngineStartUp browser = prepareWebEngine(false);
  TApplication app(argc, argv);
  QApplication::setApplicationName("Corvantel");
  // Qt's own texts (file dialog, Yes / No / Cancel) in the language our catalogue speaks.
  if (const char* languages = std::getenv("LANGUAGE")) installQtTranslations(languages);
  installSystemLocaleFormats();

  // File names as the bytes they are: a name from an old archive need not be UTF-8, and
  // Qt's text would replace what it cannot decode. The application took its own options.
  TMainForm mainForm(std::vector<std::string>(argv + std::min(argc, 1), argv + argc));
  if (browser.SandboxOffAsRoot)
    mainForm.AddLog(_("The map runs without the browser's sandbox because the editor runs as root"));
  for (const std::string& error : translations.CatalogueErrors)
    mainForm.AddLog(_("A message catalogue cannot be unpacked; the editor runs in English and leaves it as it is:") +
                    " " + error);
  mainForm.show();

  // A picture of the window for the developer's eyes, then a normal shut-down.
  if (const char* shot = std::getenv("CORVANTEL_SCREENSHOT"); shot && *shot) {
    QString file = QString::fromLocal8Bit(shot);
    QTimer::singleShot(800, &mainForm, [&mainForm, file] {
      mainForm.grab().save(file);
      mainForm.close();
    });
  }
  return app.exec();
}
