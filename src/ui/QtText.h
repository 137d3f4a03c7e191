// Our UTF-8 text handed to Qt's widgets.
#pragma once
#include <string>

#include <QString>

inline QString qs(const std::string& s) { return QString::fromStdString(s); }
