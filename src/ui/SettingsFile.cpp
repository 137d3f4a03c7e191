// Reading and writing the settings file's sections.
#include "ui/SettingsFile.h"

#include <algorithm>
#include <cmath>

#include "base/DateTime.h"
#include "base/NumberText.h"

namespace {

// Qt's largest widget size. Places and sizes read are kept within it: a hand-edited or
// damaged value can then neither overflow when added up nor push a pane out of sight.
constexpr int32_t kLargestExtent = 16777215;

// A name the file holds as it is: a line break would be written as a blank, and blanks at
// either end would be trimmed on reading; Re-open would then open another file.
bool storableFileName(const std::string& name) {
  return !name.empty() && name.find_first_of("\r\n") == std::string::npos && trim(name) == name;
}

// One key of a section, bound to a Boolean, integer or text field.
template <typename T>
void readBool(const IniFile& ini, const char* s, const char* k, T& field, bool def) {
  field = static_cast<T>(ini.readBool(s, k, def));
}
template <typename T>
void readInt(const IniFile& ini, const char* s, const char* k, T& field, int32_t def) {
  field = static_cast<T>(ini.readInteger(s, k, def));
}
// Values kept in one byte: anything outside lo..hi falls back to the default.
template <typename T>
void readByte(const IniFile& ini, const char* s, const char* k, T& field, int32_t def, int32_t lo,
              int32_t hi) {
  int32_t v = ini.readInteger(s, k, def);
  field = static_cast<T>(v < lo || v > hi ? def : v);
}
template <typename T>
void writeInt(IniFile& ini, const char* s, const char* k, T value) {
  ini.writeInteger(s, k, static_cast<int32_t>(value));
}
template <typename T>
void writeBool(IniFile& ini, const char* s, const char* k, T value) {
  ini.writeBool(s, k, value != 0);
}

void readGMap(const IniFile& ini, TGMapOptions& o) {
  const char* s = "GMap";
  readBool(ini, s, "ShowControl", o.ShowControl, true);
  readBool(ini, s, "AutoHide", o.AutoHide, false);
  readBool(ini, s, "Scale", o.Scale, false);
  readBool(ini, s, "OverView", o.OverView, false);
  readBool(ini, s, "MapType", o.MapType, true);
  readBool(ini, s, "MapTypeStreet", o.MapTypeStreet, true);
  readBool(ini, s, "MapTypeSatellite", o.MapTypeSatellite, true);
  readBool(ini, s, "MapTypeHybrid", o.MapTypeHybrid, true);
  readBool(ini, s, "MapTypePhysical", o.MapTypePhysical, true);
  readBool(ini, s, "MapTypeMapnik", o.MapTypeMapnik, false);
  readBool(ini, s, "MapTypeOSMCycle", o.MapTypeOSMCycle, false);
  readBool(ini, s, "MapTypeOSMAerial", o.MapTypeOSMAerial, false);
  readBool(ini, s, "MapTypeOSMPiste", o.MapTypeOSMPiste, false);
  readByte(ini, s, "Control", o.Control, 1, 0, 255);
  o.TrackColor = ini.readString(s, "TrackColor", "FF0000");
  o.RouteColor = ini.readString(s, "RouteColor", "00DD00");
  readBool(ini, s, "WriteSatFile", o.WriteSatFile, false);
  readBool(ini, s, "WriteMapFile", o.WriteMapFile, false);
  readBool(ini, s, "ExtensionLineColor", o.ExtensionLineColor, false);
}

void writeGMap(IniFile& ini, const TGMapOptions& o) {
  const char* s = "GMap";
  writeBool(ini, s, "ShowControl", o.ShowControl);
  writeBool(ini, s, "AutoHide", o.AutoHide);
  writeBool(ini, s, "Scale", o.Scale);
  writeBool(ini, s, "OverView", o.OverView);
  writeBool(ini, s, "MapType", o.MapType);
  writeBool(ini, s, "MapTypeStreet", o.MapTypeStreet);
  writeBool(ini, s, "MapTypeSatellite", o.MapTypeSatellite);
  writeBool(ini, s, "MapTypeHybrid", o.MapTypeHybrid);
  writeBool(ini, s, "MapTypePhysical", o.MapTypePhysical);
  writeBool(ini, s, "MapTypeMapnik", o.MapTypeMapnik);
  writeBool(ini, s, "MapTypeOSMCycle", o.MapTypeOSMCycle);
  writeBool(ini, s, "MapTypeOSMAerial", o.MapTypeOSMAerial);
  writeBool(ini, s, "MapTypeOSMPiste", o.MapTypeOSMPiste);
  writeInt(ini, s, "Control", o.Control);
  ini.writeString(s, "TrackColor", o.TrackColor);
  ini.writeString(s, "RouteColor", o.RouteColor);
  writeBool(ini, s, "WriteSatFile", o.WriteSatFile);
  writeBool(ini, s, "WriteMapFile", o.WriteMapFile);
  writeBool(ini, s, "ExtensionLineColor", o.ExtensionLineColor);
}

void readDraw(const IniFile& ini, TDrawOptions& o) {
  const char* s = "Draw";
  readBool(ini, s, "AskBeforeDelete", o.AskBeforeDelete, true);
  readInt(ini, s, "WayPointColor", o.WayPointColor, 16711680);
  readInt(ini, s, "TrackColor", o.TrackColor, 0);
  readInt(ini, s, "RouteColor", o.RouteColor, 32896);
  readInt(ini, s, "SelectedColor", o.SelectionColor, 255);
  readInt(ini, s, "BackgroundColor", o.BackgroundColor, 12632256);
  readInt(ini, s, "CutPointColor", o.CutPointColor, 65535);
  readBool(ini, s, "RightClicSelects", o.RightClickSelects, true);
  readBool(ini, s, "ShowComputedSpeed", o.ShowComputedSpeed, true);
  readBool(ini, s, "ShowGPXData", o.ShowGPXData, false);
  readBool(ini, s, "DrawPLStart", o.MarkStart, false);
  readBool(ini, s, "ExtensionLineColor", o.GPXDrawLineStyle, false);
  readBool(ini, "TRE", "ZoomReset", o.TREResetZoom, false);
  readInt(ini, "TRE", "PointDraw", o.TREDrawing, 2);
}

void writeDraw(IniFile& ini, const TDrawOptions& o) {
  const char* s = "Draw";
  writeBool(ini, s, "AskBeforeDelete", o.AskBeforeDelete);
  writeInt(ini, s, "WayPointColor", o.WayPointColor);
  writeInt(ini, s, "TrackColor", o.TrackColor);
  writeInt(ini, s, "RouteColor", o.RouteColor);
  writeInt(ini, s, "SelectedColor", o.SelectionColor);
  writeInt(ini, s, "BackgroundColor", o.BackgroundColor);
  writeInt(ini, s, "CutPointColor", o.CutPointColor);
  writeBool(ini, s, "RightClicSelects", o.RightClickSelects);
  writeBool(ini, s, "ShowComputedSpeed", o.ShowComputedSpeed);
  writeBool(ini, s, "ShowGPXData", o.ShowGPXData);
  writeBool(ini, s, "DrawPLStart", o.MarkStart);
  writeBool(ini, s, "ExtensionLineColor", o.GPXDrawLineStyle);
  writeBool(ini, "TRE", "ZoomReset", o.TREResetZoom);
  writeInt(ini, "TRE", "PointDraw", o.TREDrawing);
}

void readBottomPane(const IniFile& ini, TStatOptions& o) {
  const char* s = "BottomPane";
  readInt(ini, s, "BackGroundColor", o.BackgroundColor, 12632256);
  readInt(ini, s, "LineColor", o.LineColor, 0);
  readInt(ini, s, "AxisColor", o.AxisColor, 8421504);
  readInt(ini, s, "TextColor", o.TextColor, 0);
  readInt(ini, s, "SelectionColor", o.SelectionColor, 255);
  readInt(ini, s, "RangeSelectionColor", o.RangeSelectionColor, 65535);
  readInt(ini, s, "SelectByXorXY", o.SelectByXorXY, 0);
  readInt(ini, s, "ShowHorizontalHairline", o.ShowHorizontalHairline, 1);
}

void writeBottomPane(IniFile& ini, const TStatOptions& o) {
  const char* s = "BottomPane";
  writeInt(ini, s, "BackGroundColor", o.BackgroundColor);
  writeInt(ini, s, "LineColor", o.LineColor);
  writeInt(ini, s, "AxisColor", o.AxisColor);
  writeInt(ini, s, "TextColor", o.TextColor);
  writeInt(ini, s, "SelectionColor", o.SelectionColor);
  writeInt(ini, s, "RangeSelectionColor", o.RangeSelectionColor);
  writeInt(ini, s, "SelectByXorXY", o.SelectByXorXY);
  writeInt(ini, s, "ShowHorizontalHairline", o.ShowHorizontalHairline);
}

// The status-bar flags with their keys and reading defaults; `Value` is never stored.
struct StatusFlag {
  const char* key;
  bool TStatOptions::*field;
  bool def;
};
const StatusFlag statusFlags[] = {
    {"altitude", &TStatOptions::altitude, false},
    {"magvar", &TStatOptions::magvar, false},
    {"geoidheight", &TStatOptions::geoidheight, false},
    {"name", &TStatOptions::name, true},
    {"cmt", &TStatOptions::cmt, false},
    {"desc", &TStatOptions::desc, false},
    {"src", &TStatOptions::src, false},
    {"sym", &TStatOptions::sym, false},
    {"ptype", &TStatOptions::type, false},
    {"fix", &TStatOptions::fix, false},
    {"sat", &TStatOptions::sat, false},
    {"hdop", &TStatOptions::hdop, false},
    {"vdop", &TStatOptions::vdop, false},
    {"pdop", &TStatOptions::pdop, false},
    {"ageofgpsdata", &TStatOptions::ageofgpsdata, false},
    {"dgps", &TStatOptions::dgps, false},
    {"Distance", &TStatOptions::Distance, false},
    {"Duration", &TStatOptions::Duration, false},
    {"ParentName", &TStatOptions::ParentName, false},
    {"Speed", &TStatOptions::Speed, false},
    {"Index", &TStatOptions::Index, false},
};

void readGPX(const IniFile& ini, TGPXOptions& o) {
  readBool(ini, "GPX", "GPX_Style", o.GPXStyle, false);
  readBool(ini, "GPX", "Compress", o.Compress, false);
  readInt(ini, "GPX", "ClipboardFormat", o.ClipboardFormat, 1);
  readByte(ini, "GPX", "ElevationDatabase", o.ElevationDatabase, 2, 0, 2);
  readByte(ini, "Proxy", "Type", o.ProxyType, 0, 0, 2);
  o.HttpIP = ini.readString("Proxy", "HttpIP", "");
  o.HttpPort = ini.readString("Proxy", "HttpPort", "");
  o.SocksIP = ini.readString("Proxy", "SocksIP", "");
  o.SocksPort = ini.readString("Proxy", "SocksPort", "");
}

void writeGPX(IniFile& ini, const TGPXOptions& o) {
  writeBool(ini, "GPX", "GPX_Style", o.GPXStyle);
  writeBool(ini, "GPX", "Compress", o.Compress);
  writeInt(ini, "GPX", "ClipboardFormat", o.ClipboardFormat);
  writeInt(ini, "GPX", "ElevationDatabase", o.ElevationDatabase);
  writeInt(ini, "Proxy", "Type", o.ProxyType);
  ini.writeString("Proxy", "HttpIP", o.HttpIP);
  ini.writeString("Proxy", "HttpPort", o.HttpPort);
  ini.writeString("Proxy", "SocksIP", o.SocksIP);
  ini.writeString("Proxy", "SocksPort", o.SocksPort);
}

}  // namespace

std::string FormatSettingsDate(double dateTime) {
  DateTimeFields f = decodeDateTime(dateTime);
  auto two = [](int n) { return std::string(n < 10 ? "0" : "") + formatInt(n); };
  std::string year = formatInt(f.year);
  while (year.size() < 4) year = "0" + year;
  return year + "-" + two(f.month) + "-" + two(f.day);
}

bool ParseSettingsDate(const std::string& text, double& date) {
  std::string t = trim(text);
  if (t.size() != 10 || t[4] != '-' || t[7] != '-') return false;
  int y = 0, m = 0, d = 0;
  if (!parseIntStrict(t.substr(0, 4), y) || !parseIntStrict(t.substr(5, 2), m) ||
      !parseIntStrict(t.substr(8, 2), d))
    return false;
  return tryEncodeDate(y, m, d, date);
}

void ReadSettings(const IniFile& ini, TSettingsValues& v, double today) {
  TWindowPlacement& w = v.Window;
  auto bounded = [&](const char* key, int32_t def, int32_t lowest) {
    return std::clamp(ini.readInteger("WindowsPos", key, def), lowest, kLargestExtent);
  };
  w.Maximized = ini.readBool("WindowsPos", "Maximized", false);
  if (!w.Maximized) {
    w.Top = bounded("Top", w.Top, -kLargestExtent);
    w.Left = bounded("Left", w.Left, -kLargestExtent);
    w.Width = bounded("Width", w.Width, 0);
    w.Height = bounded("Height", w.Height, 0);
  }
  w.Splitter = bounded("Splitter", 150, 0);

  v.IsDebug = ini.readBool("Debug", "IsDebug", false);
  readGMap(ini, v.GMap);
  readDraw(ini, v.Draw);
  readBottomPane(ini, v.Stat);
  readGPX(ini, v.GPX);

  v.GPX.FileHistory = ini.readInteger("LastFiles", "MaxNumber", 8);
  // Number is not limited by MaxNumber, but a corrupt huge count must not spin through
  // billions of missing keys: no more names can exist than the section has keys.
  int64_t number = ini.readInteger("LastFiles", "Number", 0);
  number = std::min<int64_t>(number, static_cast<int64_t>(ini.keys("LastFiles").size()));
  for (int64_t i = 1; i <= number; ++i) {
    std::string name = trim(ini.readString("LastFiles", "FileNum" + formatInt(i), ""));
    if (!name.empty()) v.LastFiles.push_back(name);
  }

  v.ElevationCredit = ini.readInteger("GeoNames", "Credit", DailyElevationCredit);
  double lastReq = 0;
  if (!ParseSettingsDate(ini.readString("GeoNames", "LastReq", ""), lastReq))
    lastReq = std::floor(today);
  if (std::floor(lastReq) != std::floor(today)) v.ElevationCredit = DailyElevationCredit;

  for (const StatusFlag& f : statusFlags) v.Stat.*f.field = ini.readBool("StatusBar", f.key, f.def);
}

void WriteSettings(IniFile& ini, const TSettingsValues& v, double today) {
  const TWindowPlacement& w = v.Window;
  if (w.Maximized) {
    ini.writeBool("WindowsPos", "Maximized", true);
  } else {
    ini.writeInteger("WindowsPos", "Top", w.Top);
    ini.writeInteger("WindowsPos", "Left", w.Left);
    ini.writeInteger("WindowsPos", "Width", w.Width);
    ini.writeInteger("WindowsPos", "Height", w.Height);
    ini.writeBool("WindowsPos", "Maximized", false);
  }
  ini.writeInteger("WindowsPos", "Splitter", w.Splitter);

  writeGMap(ini, v.GMap);
  writeDraw(ini, v.Draw);
  writeBottomPane(ini, v.Stat);
  writeGPX(ini, v.GPX);

  ini.writeInteger("LastFiles", "MaxNumber", v.GPX.FileHistory);
  std::vector<std::string> stored;
  for (const std::string& name : v.LastFiles)
    if (static_cast<int64_t>(stored.size()) < v.GPX.FileHistory && storableFileName(name))
      stored.push_back(name);
  ini.writeInteger("LastFiles", "Number", static_cast<int32_t>(stored.size()));
  for (size_t i = 0; i < stored.size(); ++i)
    ini.writeString("LastFiles", "FileNum" + formatInt(static_cast<int64_t>(i + 1)), stored[i]);

  ini.writeInteger("GeoNames", "Credit", v.ElevationCredit);
  ini.writeString("GeoNames", "LastReq", FormatSettingsDate(today));

  for (const StatusFlag& f : statusFlags) ini.writeBool("StatusBar", f.key, v.Stat.*f.field);
}
