// Times the settings file of a hand-edited or damaged installation with 40,000 recent files
// (or the count given as the first argument), as start-up and shut-down handle it: loading
// the file and reading every value, then loading it again, writing every value and saving.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "base/DateTime.h"
#include "base/NumberText.h"
#include "platform/IniFile.h"
#include "ui/SettingsFile.h"

namespace {

double msSince(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

std::string ms(double value) { return formatInt(std::lround(value)); }

}  // namespace

int main(int argc, char** argv) {
  int files = 40000;
  if (argc > 1 && (!parseIntStrict(argv[1], files) || files < 0)) {
    std::fprintf(stderr, "usage: bench_settings [RECENT_FILES]\n");
    return 2;
  }
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("corvantel_bench_settings_" + formatInt(::getpid()));
  fs::create_directories(dir);
  const std::string name = (dir / "Corvantel.ini").string();
  const double today = encodeDateTime(2024, 3, 17, 14, 3, 59);

  TSettingsValues written;
  written.GPX.FileHistory = files;
  for (int i = 1; i <= files; ++i)
    written.LastFiles.push_back("/home/user/GPS/tracks/2024/track_" + formatInt(i) + ".gpx");
  {
    IniFile ini(name);
    WriteSettings(ini, written, today);
    ini.save();
  }
  std::printf("recent files: %s, file bytes: %s\n", formatInt(files).c_str(),
              formatInt(static_cast<int64_t>(fs::file_size(name))).c_str());

  // The best of three runs: the machine may be busy with other work.
  double load = 1e300, save = 1e300;
  for (int run = 0; run < 3; ++run) {
    auto t0 = std::chrono::steady_clock::now();
    IniFile ini(name);
    ini.load();
    TSettingsValues v;
    ReadSettings(ini, v, today);
    load = std::min(load, msSince(t0));
    if (v.LastFiles != written.LastFiles) {
      std::fprintf(stderr, "the recent files did not read back\n");
      return 1;
    }

    t0 = std::chrono::steady_clock::now();
    IniFile again(name);
    again.load();  // keys the program does not write stay as they are in the file
    WriteSettings(again, v, today);
    again.save();
    save = std::min(save, msSince(t0));
  }
  std::printf("settings load ms: %s\n", ms(load).c_str());
  std::printf("settings save ms: %s\n", ms(save).c_str());
  fs::remove_all(dir);
  return 0;
}
