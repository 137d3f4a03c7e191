// Where the program keeps its own files: settings, the map page, snapshots and pictures.
#pragma once
#include <string>

namespace AppPaths {

// The folder of the running executable (no trailing '/').
std::string executableFolder();
// The running executable's full path, its bytes as the file system holds them (not always
// UTF-8); empty when it cannot be told.
std::string executableFile();

// The executable's folder when it is writable (a build tree, a portable copy), else
// $XDG_DATA_HOME/Corvantel (default ~/.local/share/Corvantel), created on first use.
// Ends with '/'.
std::string programFolder();

// Tests point the program folder elsewhere; an empty text restores the normal choice.
void setProgramFolder(const std::string& folder);

// The per-user cache folder of the program, $XDG_CACHE_HOME/Corvantel, created. Ends with '/'.
std::string cacheFolder();

// The folder of the map script the web map page loads: "web" beside the executable (a
// build tree), else the installed share/corvantel/web. No trailing '/'; empty when neither
// holds the script.
std::string mapScriptFolder();

// A new empty file in the system's temporary folder named from `prefix`, a unique part and
// `suffix`; its full name, or empty when it cannot be created.
std::string createTempFileName(const std::string& prefix, const std::string& suffix);

}  // namespace AppPaths
