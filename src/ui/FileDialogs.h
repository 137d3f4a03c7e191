// The file dialogs of the file, import and export commands, and the filter texts they show.
#pragma once
#include <string>
#include <vector>

#include "ui/Main.h"

// Shows the dialog the request describes; the chosen names, none on Cancel.
std::vector<std::string> askFileNames(QWidget* parent, const TFileDialogRequest& request);

// "<translated name> (<pattern>);;All files (*)": every filter ends with all files.
std::string fileFilter(const std::string& name, const std::string& pattern);
