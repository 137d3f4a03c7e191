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
  return full.lexically_normal().string();
}
