// The recent-files list and file-name helpers of the file commands (plain text, no Qt).
#pragma once
#include <string>
#include <vector>

// Moves an equal entry (Linux paths: case counts) to the top, or inserts the name there.
void rememberRecentFile(std::vector<std::string>& files, const std::string& name);
// The names the Re-open submenu shows: the entries that are not blank, as they are, newest
// first, at most `depth` of them but always one when there is one.
std::vector<std::string> recentFilesShown(const std::vector<std::string>& files, int depth);
// A file (not a folder) of that name exists.
bool fileExists(const std::string& name);
// The file name without its folder.
std::string fileNameOnly(const std::string& path);
// The extension of the file name in lower case, with its dot; empty when it has none.
std::string fileExtension(const std::string& path);
// The name with the file name's extension replaced (a folder's dots are left alone).
std::string changeFileExtension(const std::string& path, const std::string& extension);
