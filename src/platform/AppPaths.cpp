// Program folders on Linux, following the XDG base directory conventions.
#include "platform/AppPaths.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

std::string overrideFolder;

std::string withSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

// $VAR when set and absolute (the XDG rule), else ~/fallback.
std::string xdgFolder(const char* var, const char* fallback) {
  const char* v = std::getenv(var);
  if (v && v[0] == '/') return v;
  const char* home = std::getenv("HOME");
  std::string base = (home && *home) ? home : fs::temp_directory_path().string();
  return base + "/" + fallback;
}

std::string ensured(const std::string& folder) {
  std::error_code ec;
  fs::create_directories(fs::path(folder), ec);
  return withSlash(folder);
}

}  // namespace

namespace AppPaths {

std::string executableFile() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : exe.string();
}

std::string executableFolder() {
  const std::string exe = executableFile();
  std::error_code ec;
  if (exe.empty()) return fs::current_path(ec).string();
  return fs::path(exe).parent_path().string();
}

std::string programFolder() {
  if (!overrideFolder.empty()) return ensured(overrideFolder);
  std::string exeFolder = executableFolder();
  if (!exeFolder.empty() && ::access(exeFolder.c_str(), W_OK) == 0) return withSlash(exeFolder);
  return ensured(xdgFolder("XDG_DATA_HOME", ".local/share") + "/Corvantel");
}

void setProgramFolder(const std::string& folder) { overrideFolder = folder; }

std::string mapScriptFolder() {
  const fs::path exe(executableFolder());
  for (const fs::path& folder : {exe / "web", exe.parent_path() / "share" / "corvantel" / "web"}) {
    std::error_code ec;
    if (fs::is_regular_file(folder / "maps", ec)) return folder.lexically_normal().string();
  }
  return {};
}

std::string createTempFileName(const std::string& prefix, const std::string& suffix) {
  std::error_code ec;
  const fs::path folder = fs::temp_directory_path(ec);
  if (ec) return {};
  std::string name = (folder / (prefix + "XXXXXX" + suffix)).string();
  const int fd = ::mkstemps(name.data(), static_cast<int>(suffix.size()));
  if (fd < 0) return {};
  ::close(fd);
  return name;
}

std::string cacheFolder() { return ensured(xdgFolder("XDG_CACHE_HOME", ".cache") + "/Corvantel"); }

}  // namespace AppPaths
