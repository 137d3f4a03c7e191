// Files dropped from the desktop onto a widget, handed on as local file names.
#pragma once
#include <functional>
#include <string>
#include <vector>

class QWidget;

// The widget accepts drops of local files; each drop calls `onDrop` with their names in
// the order the drag carried them.
void installFileDrop(QWidget* widget, std::function<void(const std::vector<std::string>&)> onDrop);
