// The settings file's keys: reading defaults, the recent-files depth, the daily credit.
#include <gtest/gtest.h>

#include <tuple>

#include "base/DateTime.h"
#include "ui/SettingsFile.h"

namespace {

const double kToday = encodeDateTime(2024, 3, 17, 14, 3, 59);

TSettingsValues readText(const std::string& text, double today = kToday) {
  IniFile ini;
  ini.parse(text);
  TSettingsValues v;
  v.Window = {false, 11, 22, 800, 600, 0};
  v.Stat.name = false;
  ReadSettings(ini, v, today);
  return v;
}

}  // namespace

TEST(SettingsFile, MissingKeysTakeTheReadingDefaults) {
  TSettingsValues v = readText("[WindowsPos]\nMaximized=1\n");
  EXPECT_TRUE(v.Window.Maximized);
  EXPECT_EQ(v.Window.Top, 11);  // not read while maximized
  EXPECT_EQ(v.Window.Width, 800);
  EXPECT_EQ(v.Window.Splitter, 150);
  EXPECT_FALSE(v.IsDebug);
  // These differ from the objects' own defaults: a file that lacks them gives these.
  EXPECT_EQ(v.GPX.ClipboardFormat, 1);
  EXPECT_EQ(v.Draw.TREDrawing, 2);
  EXPECT_EQ(v.Draw.RouteColor, 32896u);
  EXPECT_EQ(v.Draw.SelectionColor, 255u);
  EXPECT_EQ(v.GPX.FileHistory, 8);
  EXPECT_EQ(v.GPX.ElevationDatabase, 2);
  EXPECT_EQ(v.GMap.TrackColor, "FF0000");
  EXPECT_EQ(v.GMap.Control, 1);
  EXPECT_EQ(v.Stat.AxisColor, 8421504u);
  EXPECT_TRUE(v.Stat.name);
  EXPECT_TRUE(v.LastFiles.empty());
  EXPECT_EQ(v.ElevationCredit, DailyElevationCredit);
}

TEST(SettingsFile, OneByteValuesOutOfRangeFallBack) {
  TSettingsValues v = readText(
      "[GMap]\nControl=256\n[GPX]\nElevationDatabase=3\n[Proxy]\nType=-1\n");
  EXPECT_EQ(v.GMap.Control, 1);
  EXPECT_EQ(v.GPX.ElevationDatabase, 2);
  EXPECT_EQ(v.GPX.ProxyType, 0);
  v = readText("[GMap]\nControl=2\n[GPX]\nElevationDatabase=0\n[Proxy]\nType=2\n");
  EXPECT_EQ(v.GMap.Control, 2);
  EXPECT_EQ(v.GPX.ElevationDatabase, 0);
  EXPECT_EQ(v.GPX.ProxyType, 2);
}

TEST(SettingsFile, PlacesAndSizesStayWithinWhatAWindowCanHave) {
  const int32_t largest = 16777215;
  const std::tuple<const char*, int32_t TWindowPlacement::*, int32_t> cases[] = {
      {"Top", &TWindowPlacement::Top, -largest}, {"Left", &TWindowPlacement::Left, -largest},
      {"Width", &TWindowPlacement::Width, 0},    {"Height", &TWindowPlacement::Height, 0},
      {"Splitter", &TWindowPlacement::Splitter, 0}};
  for (auto [key, field, lowest] : cases) {
    const std::string k = std::string("[WindowsPos]\n") + key;
    EXPECT_EQ(readText(k + "=-2147483648\n").Window.*field, lowest) << key;
    EXPECT_EQ(readText(k + "=2147483647\n").Window.*field, largest) << key;
  }
}

TEST(SettingsFile, SameNamedKeysOfDifferentSectionsStayApart) {
  TSettingsValues v = readText("[GMap]\nTrackColor=00FF00\n[Draw]\nTrackColor=16711680\n");
  EXPECT_EQ(v.GMap.TrackColor, "00FF00");
  EXPECT_EQ(v.Draw.TrackColor, 16711680u);
}

TEST(SettingsFile, RecentFilesAreStoredUpToTheHistoryDepth) {
  IniFile ini;
  ini.parse("[LastFiles]\nNumber=4\nFileNum1=x\nFileNum2=y\nFileNum3=old3\nFileNum4=old4\n");
  TSettingsValues v;
  v.GPX.FileHistory = 2;
  v.LastFiles = {"/a.gpx", "/b.gpx", "/c.gpx", "/d.gpx", "/e.gpx"};
  WriteSettings(ini, v, kToday);
  EXPECT_EQ(ini.readInteger("LastFiles", "MaxNumber", 0), 2);
  EXPECT_EQ(ini.readInteger("LastFiles", "Number", 0), 2);
  EXPECT_EQ(ini.readString("LastFiles", "FileNum2", ""), "/b.gpx");
  EXPECT_EQ(ini.readString("LastFiles", "FileNum3", ""), "old3");  // left from an earlier run

  // Reading takes Number names whatever the depth, skipping blank ones.
  TSettingsValues r = readText("[LastFiles]\nMaxNumber=1\nNumber=3\nFileNum1= a \nFileNum2=\n"
                               "FileNum3=c\nFileNum4=d\n");
  EXPECT_EQ(r.LastFiles, (std::vector<std::string>{"a", "c"}));
  // A corrupt count does not send the reader through billions of missing keys.
  r = readText("[LastFiles]\nNumber=2147483647\nFileNum1=a\n");
  EXPECT_EQ(r.LastFiles, std::vector<std::string>{"a"});
  // Names the file cannot hold as they are are left out: Re-open would open another file.
  v.LastFiles = {"/trip\nday.gpx", "/cr\r.gpx", "/blank.gpx ", "/a.gpx", "/b.gpx", "/c.gpx"};
  WriteSettings(ini, v, kToday);
  EXPECT_EQ(readText(ini.text()).LastFiles, (std::vector<std::string>{"/a.gpx", "/b.gpx"}));
  // A negative depth stores nothing.
  v.GPX.FileHistory = -5;
  WriteSettings(ini, v, kToday);
  EXPECT_EQ(ini.readInteger("LastFiles", "Number", -1), 0);
}

TEST(SettingsFile, CreditStartsAgainOnANewDay) {
  struct Case {
    const char* lastReq;
    int32_t credit;
  } cases[] = {
      {"2024-03-17", 1234},       // same day: kept
      {"2024-03-16", DailyElevationCredit},
      {"2025-03-17", DailyElevationCredit},
      {"17/03/2024", 1234},       // not a date we write: counts as today
      {"", 1234},
  };
  for (const Case& c : cases) {
    TSettingsValues v =
        readText(std::string("[GeoNames]\nCredit=1234\nLastReq=") + c.lastReq + "\n");
    EXPECT_EQ(v.ElevationCredit, c.credit) << c.lastReq;
  }
  IniFile ini;
  TSettingsValues v;
  v.ElevationCredit = 99;
  WriteSettings(ini, v, kToday);
  EXPECT_EQ(ini.readString("GeoNames", "LastReq", ""), "2024-03-17");
  EXPECT_EQ(readText(ini.text(), kToday + 0.4).ElevationCredit, 99);
  EXPECT_EQ(readText(ini.text(), kToday + 1).ElevationCredit, DailyElevationCredit);
}

TEST(SettingsFile, EveryWrittenValueReadsBack) {
  TSettingsValues v;
  v.Window = {false, 40, 50, 900, 700, 222};
  v.GMap.AutoHide = true;
  v.GMap.Control = 2;
  v.GMap.RouteColor = "123456";
  v.GMap.MapTypeOSMPiste = true;
  v.Draw.AskBeforeDelete = 0;
  v.Draw.CutPointColor = 0x123456;
  v.Draw.MarkStart = 1;
  v.Draw.TREResetZoom = 1;
  v.Draw.TREDrawing = 1;
  v.Stat.ShowHorizontalHairline = 2;
  v.Stat.type = true;
  v.Stat.name = false;
  v.Stat.Index = true;
  v.GPX.GPXStyle = true;
  v.GPX.ClipboardFormat = 0;
  v.GPX.ProxyType = 1;
  v.GPX.HttpIP = "proxy";
  v.GPX.SocksPort = "1080";
  v.GPX.FileHistory = 3;
  v.LastFiles = {"/one.gpx", "/two words.gpx"};
  v.ElevationCredit = -7;
  IniFile ini;
  WriteSettings(ini, v, kToday);
  EXPECT_FALSE(ini.hasSection("Debug"));  // written by hand only
  EXPECT_EQ(ini.readString("StatusBar", "ptype", ""), "1");

  TSettingsValues r = readText(ini.text());
  EXPECT_EQ(r.Window.Top, 40);
  EXPECT_EQ(r.Window.Left, 50);
  EXPECT_EQ(r.Window.Width, 900);
  EXPECT_EQ(r.Window.Height, 700);
  EXPECT_EQ(r.Window.Splitter, 222);
  EXPECT_TRUE(r.GMap.AutoHide);
  EXPECT_EQ(r.GMap.Control, 2);
  EXPECT_EQ(r.GMap.RouteColor, "123456");
  EXPECT_TRUE(r.GMap.MapTypeOSMPiste);
  EXPECT_EQ(r.Draw.AskBeforeDelete, 0);
  EXPECT_EQ(r.Draw.CutPointColor, 0x123456u);
  EXPECT_EQ(r.Draw.MarkStart, 1);
  EXPECT_EQ(r.Draw.TREResetZoom, 1);
  EXPECT_EQ(r.Draw.TREDrawing, 1);
  EXPECT_EQ(r.Stat.ShowHorizontalHairline, 2);
  EXPECT_TRUE(r.Stat.type);
  EXPECT_FALSE(r.Stat.name);
  EXPECT_TRUE(r.Stat.Index);
  EXPECT_TRUE(r.GPX.GPXStyle);
  EXPECT_EQ(r.GPX.ClipboardFormat, 0);
  EXPECT_EQ(r.GPX.ProxyType, 1);
  EXPECT_EQ(r.GPX.HttpIP, "proxy");
  EXPECT_EQ(r.GPX.SocksPort, "1080");
  EXPECT_EQ(r.GPX.FileHistory, 3);
  EXPECT_EQ(r.LastFiles, v.LastFiles);
  EXPECT_EQ(r.ElevationCredit, -7);
}

TEST(SettingsFile, AFreshFileHasEveryKeyByteForByteInItsOrder) {
  // Names are compared without regard to case on reading, so only the written text shows
  // a misspelt key; other programs and hand edits see exactly these names.
  TSettingsValues v;
  v.Window = {false, 106, 227, 760, 550, 150};
  IniFile ini;
  WriteSettings(ini, v, kToday);
  EXPECT_EQ(ini.text(),
            "[WindowsPos]\nTop=106\nLeft=227\nWidth=760\nHeight=550\nMaximized=0\nSplitter=150\n"
            "\n[GMap]\nShowControl=1\nAutoHide=0\nScale=0\nOverView=0\nMapType=1\n"
            "MapTypeStreet=1\nMapTypeSatellite=1\nMapTypeHybrid=1\nMapTypePhysical=1\n"
            "MapTypeMapnik=0\nMapTypeOSMCycle=0\nMapTypeOSMAerial=0\nMapTypeOSMPiste=0\n"
            "Control=1\nTrackColor=FF0000\nRouteColor=00DD00\nWriteSatFile=0\nWriteMapFile=0\n"
            "ExtensionLineColor=0\n"
            "\n[Draw]\nAskBeforeDelete=1\nWayPointColor=16711680\nTrackColor=0\nRouteColor=32896\n"
            "SelectedColor=255\nBackgroundColor=12632256\nCutPointColor=65535\n"
            "RightClicSelects=1\nShowComputedSpeed=1\nShowGPXData=0\nDrawPLStart=0\n"
            "ExtensionLineColor=0\n"
            "\n[TRE]\nZoomReset=0\nPointDraw=0\n"
            "\n[BottomPane]\nBackGroundColor=12632256\nLineColor=0\nAxisColor=8421504\nTextColor=0\n"
            "SelectionColor=255\nRangeSelectionColor=65535\nSelectByXorXY=0\n"
            "ShowHorizontalHairline=1\n"
            "\n[GPX]\nGPX_Style=0\nCompress=0\nClipboardFormat=0\nElevationDatabase=2\n"
            "\n[Proxy]\nType=0\nHttpIP=\nHttpPort=\nSocksIP=\nSocksPort=\n"
            "\n[LastFiles]\nMaxNumber=8\nNumber=0\n"
            "\n[GeoNames]\nCredit=500000\nLastReq=2024-03-17\n"
            "\n[StatusBar]\naltitude=0\nmagvar=0\ngeoidheight=0\nname=1\ncmt=0\ndesc=0\nsrc=0\n"
            "sym=0\nptype=0\nfix=0\nsat=0\nhdop=0\nvdop=0\npdop=0\nageofgpsdata=0\ndgps=0\n"
            "Distance=0\nDuration=0\nParentName=0\nSpeed=0\nIndex=0\n");
}
