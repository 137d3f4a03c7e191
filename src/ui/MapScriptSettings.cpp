// The map script library's settings as the script text that hands them to the page.
#include "ui/MapScriptSettings.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

QJsonObject tiles(const TMapTileSource& t) {
  return QJsonObject{{"url", QString::fromStdString(t.Url)},
                     {"attribution", QString::fromStdString(t.Attribution)},
                     {"maxZoom", t.MaxZoom}};
}

}  // namespace

QString TMapScriptSettings::StartScript(const TGMapConfig& page) const {
  const QJsonObject layers{{"Mapnik", QString::fromStdString(page.MapnikTiles)},
                           {"Cycle", QString::fromStdString(page.OSMCycleTiles)},
                           {"Aerial", QString::fromStdString(page.OSMAerialTiles)},
                           {"Piste", QString::fromStdString(page.OSMPisteTiles)}};
  const QJsonObject config{{"normal", tiles(Normal)},
                           {"satellite", tiles(Satellite)},
                           {"hybrid", tiles(Hybrid)},
                           {"physical", tiles(Physical)},
                           {"layers", layers}};
  // JSON is a script literal once U+2028 and U+2029 are escaped; '<' cannot matter here
  // (no markup around), but is escaped all the same.
  QString json = QString::fromUtf8(QJsonDocument(config).toJson(QJsonDocument::Compact));
  json.replace(QChar(0x2028), "\\u2028").replace(QChar(0x2029), "\\u2029").replace("<", "\\u003c");
  return "window.CorvantelMapConfig = " + json + ";";
}
