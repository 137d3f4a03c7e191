// Version text from the build, long file names.
#include "platform/ProgramVersion.h"

#include <filesystem>
#include <system_error>

#include "ProgramVersionText.h"

std::string GetFileVersionString() { return CORVANTEL_VERSION_TEXT; }

std::string GetLongFileName(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (path.empty() || !fs::exists(fs::path(path), ec)) return path;
  fs::path full = fs::absolute(fs::path(path), ec);
  if (ec) return path;
  // Folding "dir/.." away is wrong when dir is a symbolic link: keep the tidy form only
  // when it still names the same file.
  fs::path tidy = full.lexically_normal();
  if (fs::equivalent(tidy, full, ec) && !ec) return tidy.string();
  return full.string();
}
