// The images the program carries.
#include "ui/ProgramIcons.h"

#include <QFile>
#include <QString>

QIcon programIcon(const char* file) {
  const QString path = QStringLiteral(":/icons/") + QString::fromLatin1(file);
  return QFile::exists(path) ? QIcon(path) : QIcon();
}
