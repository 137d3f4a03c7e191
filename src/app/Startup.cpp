// Start-up in the order the program needs: the message catalogues before any text is made,
// then the application titled "Corvantel", then the main window, then the event loop.
#include "app/Startup.h"

#include <cstdlib>

#include <QStringList>
#include <QTimer>

#include "platform/Translations.h"
#include "platform/WebEngineBrowser.h"
#include "ui/CommandGuard.h"
#include "ui/Main.h"
#include "ui/SystemLocaleFormats.h"

int RunCorvantel(int argc, char** argv) {
  initialiseTranslations();
  prepareWebEngine(false);
  TApplication app(argc, argv);
  QApplication::setApplicationName("Corvantel");
  // Qt's own texts (file dialog, Yes / No / Cancel) in the language our catalogue speaks.
  if (const char* languages = std::getenv("LANGUAGE")) installQtTranslations(languages);
  installSystemLocaleFormats();

  QStringList arguments = QApplication::arguments();
  arguments.removeFirst();
  TMainForm mainForm(arguments);
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
