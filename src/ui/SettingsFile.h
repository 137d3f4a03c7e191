// The settings file's sections and keys: which value feeds which field, with the defaults
// taken when a key is missing. Plain C++ over an in-memory INI file, so it is tested alone.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "model/GPX.h"
#include "platform/IniFile.h"
#include "views/DrawOptions.h"
#include "views/GMapOptions.h"
#include "views/StatOptions.h"

// The main window's place on the screen. The designed place is 227, 106, 760 x 550.
struct TWindowPlacement {
  bool Maximized = false;
  int32_t Top = 106, Left = 227, Width = 760, Height = 550;
  int32_t Splitter = 150;  // width of the left panel
};

// Everything the settings file stores.
struct TSettingsValues {
  TWindowPlacement Window;
  bool IsDebug = false;
  TGMapOptions GMap;
  TDrawOptions Draw;
  TStatOptions Stat;
  TGPXOptions GPX;
  std::vector<std::string> LastFiles;
  int32_t ElevationCredit = 500000;
};

// The credit of the elevation web service at the first start of a day.
constexpr int32_t DailyElevationCredit = 500000;

// Reads every key into `v`. The window's Top/Left/Width/Height default to what `v` holds;
// other missing keys take the file-reading defaults. `today` is the local date-time now.
void ReadSettings(const IniFile& ini, TSettingsValues& v, double today);

// Writes every key the program owns; other keys of `ini` stay as they are.
void WriteSettings(IniFile& ini, const TSettingsValues& v, double today);

// The day written as LastReq ("2024-03-17"), and its reading; false on anything else.
std::string FormatSettingsDate(double dateTime);
bool ParseSettingsDate(const std::string& text, double& date);
