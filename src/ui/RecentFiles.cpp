// The recent-files list and file-name helpers of the file commands.
#include "ui/RecentFiles.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>

#include "base/NumberText.h"

void rememberRecentFile(std::vector<std::string>& files, const std::string& name) {
  auto it = std::find(files.begin(), files.end(), name);
  if (it != files.end()) files.erase(it);
  files.insert(files.begin(), name);
}

std::vector<std::string> recentFilesShown(const std::vector<std::string>& files, int depth) {
  std::vector<std::string> shown;
  int64_t remaining = depth;  // no overflow below the smallest depth
  for (const std::string& name : files) {
    // Shown as it is: a trimmed name may be another file.
    if (trim(name).empty()) continue;
    shown.push_back(name);
    // Tested after a name is taken: a depth below 1 still shows one.
    if (--remaining < 1) break;
  }
  return shown;
}

bool fileExists(const std::string& name) {
  std::error_code ec;
  const auto status = std::filesystem::status(std::filesystem::path(name), ec);
  return !ec && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

std::string fileNameOnly(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string fileExtension(const std::string& path) {
  const std::string name = fileNameOnly(path);
  const auto dot = name.find_last_of('.');
  return dot == std::string::npos ? std::string() : toLowerAscii(name.substr(dot));
}

std::string changeFileExtension(const std::string& path, const std::string& extension) {
  const auto slash = path.find_last_of('/');
  const auto dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path + extension;
  return path.substr(0, dot) + extension;
}
