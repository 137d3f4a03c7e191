// The web map page: bounds of the data, then the page text line by line.
#include "views/GPXToGmap.h"

#include <initializer_list>
#include <string_view>

#include "base/NumberText.h"
#include "views/GPolyLine.h"

void TGMap::ComputeBounds() {
  DataBBox.Clear();
  TGPX& gpx = *GPX;
  gpx.Waypoints.UpdateBBox(true);
  DataBBox.Extend(gpx.Waypoints.BBox);
  // Only valid boxes count: an empty route or segment must not pull the map to 0, 0.
  for (int r = 0; r < gpx.Routes.Count(); ++r) {
    TGPXrte* route = gpx.Routes.GetRoute(r);
    route->UpdateBBox(true);
    DataBBox.Extend(route->BBox);
  }
  for (int t = 0; t < gpx.Tracks.Count(); ++t) {
    TGPXtrk* track = gpx.Tracks.GetTrack(t);
    for (int s = 0; s < track->Count(); ++s) {
      TGPXtrkseg* seg = track->GetSegment(s);
      seg->UpdateBBox(true);
      DataBBox.Extend(seg->BBox);
    }
  }
  // A single waypoint has no box of its own: the map shows a small area around it, also when
  // the document's routes and segments are empty (they have no box either).
  if (gpx.Waypoints.Count() == 1 && !DataBBox.Valid) {
    const TGPXwpt* w = gpx.Waypoints.GetPoint(0);
    DataBBox.MaxLat = w->Lat + 0.001;
    DataBBox.MinLat = w->Lat - 0.001;
    DataBBox.MaxLon = w->Lon + 0.001;
    DataBBox.MinLon = w->Lon - 0.001;
  }
  if (DataBBox.MaxLon != DataBBox.MinLon && DataBBox.MaxLat != DataBBox.MinLat) DataBBox.Valid = true;
}

namespace {

// The page text: each line starts with its depth in TABs and ends with CR LF.
class PageText {
public:
  PageText() { text_.reserve(64 * 1024); }
  void line(int depth, std::string_view s) {
    text_.append(static_cast<size_t>(depth), '\t');
    text_ += s;
    text_ += "\r\n";
  }
  // A run of fixed lines at one depth.
  void lines(int depth, std::initializer_list<std::string_view> run) {
    for (std::string_view s : run) line(depth, s);
  }
  void blank() { text_ += "\r\n"; }
  std::string take() { return std::move(text_); }

private:
  std::string text_;
};

// An extra tile layer: its option, its tiles and the names its script uses.
struct TileLayer {
  bool on;
  const std::string& tiles;
  const char* prefix;    // tile<prefix>, <prefix>GetTileUrl, <prefix>layer
  const char* mapVar;    // the map type variable
  const char* typeName;  // the map type's name on the map type control
  const char* urlRest;   // the address line after the server
};

void writeIcon(PageText& p, const std::string& name, const std::string& image, const std::string& shadow) {
  p.line(1, "var " + name + " = new GIcon(G_DEFAULT_ICON,\"" + image + "\");");
  p.line(1, name + ".shadow = \"" + shadow + "\";");
  p.line(1, name + ".iconSize = new GSize(12, 20);");
  p.line(1, name + ".shadowSize = new GSize(22, 20);");
  p.line(1, name + ".iconAnchor = new GPoint(6, 20);");
  p.line(1, name + ".infoWindowAnchor = new GPoint(5, 1);");
}

void writeLayerLines(PageText& p, const TileLayer& l) {
  const std::string tile = std::string("tile") + l.prefix;
  const std::string layer = std::string(l.prefix) + "layer";
  p.line(3, "var " + tile + " = new GTileLayer(copycol,1,17);");
  p.line(3, tile + ".getTileUrl=" + l.prefix + "GetTileUrl;");
  p.line(3, tile + ".isPng = function () { return true;}");
  p.line(3, tile + ".getOpacity = function() {return 1.0;}");
  p.line(3, "var " + layer + " = [" + tile + "];");
  p.line(3, std::string("var ") + l.mapVar + " = new GMapType(" + layer + ", G_SATELLITE_MAP.getProjection(), \"" +
                l.typeName + "\", G_SATELLITE_MAP);");
  p.line(3, std::string("map.addMapType(") + l.mapVar + ");");
}

void writeMarkerFunction(PageText& p) {
  p.line(3, "function createMarker(point,html,ref) {");
  p.line(4, "var marker = new GMarker(point,{icon: SmallRedIcon, draggable: true});");
  p.line(4, "GEvent.addListener(marker, \"click\", function() {marker.openInfoWindowHtml(html);window.status = "
            "\"Popup \" + marker.getPoint().lat() + \", \"+ marker.getPoint().lng();});");
  p.line(4, "GEvent.addListener(marker, \"dragend\", function() {window.status = \"Move \" + "
            "marker.getPoint().lat() + \", \" + marker.getPoint().lng() + \" <\" + ref + \">\";});");
  p.line(4, "return marker;");
  p.line(3, "}");
}

void writeListener(PageText& p, std::string_view event, std::string_view args,
                   std::initializer_list<std::string_view> body) {
  p.line(3, "GEvent.addListener(map, \"" + std::string(event) + "\", function(" + std::string(args) + "){");
  for (std::string_view s : body) p.line(4, s);
  p.line(3, "});");
}

// One route or segment: levels first, then the block that draws it.
void writePolyline(PageText& p, const TGPolyLine& enc, TGPXwptList& list, const std::string& comment,
                   const std::string& var, const TGPX_StyleLine& style, const TGMapOptions& o,
                   const std::string& defaultColor) {
  enc.DPEncode(list);
  int always = 0;
  for (int i = 0; i < list.Count(); ++i)
    if (list.At(i)->Mark == enc.numLevels - 1) ++always;
  std::string color = defaultColor;
  std::string opacity = "0.8";
  if (o.ExtensionLineColor) {
    if (!style.IsColorUnset()) color = style.GetColorHex();
    if (style.Opacity < 1.0) opacity = style.GetOpacityStr();
  }
  p.line(3, comment + " " + formatInt(list.Count()) + " points (" + formatInt(always) + " always displayed)");
  p.line(3, "var " + var + " = new GPolyline.fromEncoded({");
  p.line(4, "color: \"#" + color + "\",");
  p.line(4, "weight: 4,");
  p.line(4, "opacity: " + opacity + ",");
  p.line(4, "points: \"" + enc.CreateEncodings(list) + "\",");
  p.line(4, "levels: \"" + enc.EncodeLevels(list) + "\",");
  p.line(4, "zoomFactor: " + formatInt(enc.zoomFactor) + ",");
  p.line(4, "numLevels: " + formatInt(enc.numLevels));
  p.line(3, "});");
  p.line(3, "map.addOverlay(" + var + ");");
}

}  // namespace

std::string TGMap::GetPageHTML() {
  if (!GPX || (GPX->Waypoints.Empty() && GPX->Routes.Empty() && GPX->Tracks.Empty())) return {};
  ComputeBounds();
  const TGPolyLine enc(verySmall);
  const TGMapOptions& o = Options;
  const TGMapConfig& c = Config;
  const TileLayer layers[] = {
      {o.MapTypeMapnik, c.MapnikTiles, "Mapnik", "mapnikMap", "Mapnik",
       "/mapnik_tiles/\" + b + \"/\" + a.x + \"/\" + a.y + \".png\";"},
      {o.MapTypeOSMCycle, c.OSMCycleTiles, "OSMCycle", "OSMCycleMap", "Cycle",
       "/tiles/cycle/\" + b + \"/\" + a.x + \"/\" + a.y + \".png\";"},
      {o.MapTypeOSMAerial, c.OSMAerialTiles, "OSMAerial", "OSMAerialMap", "Aerial",
       "/tiles/?v=mgm&layer=openaerialmap-900913&x=\" + a.x + \"&y=\" + a.y + \"&zoom=\" + (18-(b+1));"},
      {o.MapTypeOSMPiste, c.OSMPisteTiles, "OSMPiste", "OSMPisteMap", "Piste",
       "/tiles/contours/\" + b + \"/\" + a.x + \"/\" + a.y + \".png\";"},
  };
  const bool anyLayer = o.MapTypeMapnik || o.MapTypeOSMCycle || o.MapTypeOSMAerial || o.MapTypeOSMPiste;
  const std::string redMarker = c.MarkerServer + "/mapfiles/marker_mini.png";
  const std::string blueMarker = c.SmallMarkerServer + "/ridefinder/images/mm_20_blue.png";
  const std::string greenMarker = c.SmallMarkerServer + "/ridefinder/images/mm_20_green.png";
  const std::string shadow = c.MarkerServer + "/mapfiles/marker_mini_shadow.png";

  PageText p;
  p.line(0, "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
            "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">");
  p.line(0, "<html xmlns=\"http://www.w3.org/1999/xhtml\" xmlns:v=\"urn:schemas-microsoft-com:vml\">");
  p.line(1, "<head>");
  p.lines(2, {"<meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\"/>",
              "<title>Google map</title>",
              "<style TYPE=\"text/css\">"});
  p.lines(3, {"<!--",
              "html { overflow: auto }",
              "body { font-size: small; font-family: Verdana, Geneva, Arial, Helvetica, sans-serif }",
              "div.BCoord { font-size: smaller }",
              "div.BName { font-size: larger; font-weight: bold }",
              "-->"});
  p.line(2, "</style>");
  p.line(2, "<script src=\"" + c.ScriptProvider + "/maps?file=api&amp;v=2.159&amp;key=" + c.ApiKey +
                "\" type=\"text/javascript\"></script>");
  p.line(1, "</head>");
  p.line(1, "<body style=\"width: 100%; height: 100%; margin: 0; padding: 0;\" onload=\"load_map();\" "
            "onunload=\"GUnload();\" scroll=\"no\">");
  for (const std::string* image : {&redMarker, &blueMarker, &greenMarker, &shadow})
    p.line(2, "<img src = \"" + *image + "\" style=\"display:none\">");
  p.line(2, "<div id=\"mymap\"  style=\"position: absolute; top: 0; left: 0; width: 100%; height: 100%;\"></div>");
  p.lines(1, {"</body>",
              "<script type=\"text/javascript\">",
              "//<![CDATA[",
              "var map;",
              "var lastPoint;",
              "var MovableMarker;"});
  p.blank();
  writeIcon(p, "SmallRedIcon", redMarker, shadow);
  writeIcon(p, "SmallBlueIcon", blueMarker, shadow);
  writeIcon(p, "SmallGreenIcon", greenMarker, shadow);
  p.blank();
  p.line(1, "function createMapMarker(lat, lng, html, ref) {");
  p.lines(2, {"var point = new GLatLng(parseFloat(lat),parseFloat(lng));",
              "var marker = new GMarker(point,{icon: SmallBlueIcon, draggable: true});",
              "GEvent.addListener(marker, \"click\", function() {marker.openInfoWindowHtml(html);});"});
  p.line(4, "GEvent.addListener(marker, \"dragend\", function() {window.status = \"Move \" + "
            "marker.getPoint().lat() + \", \" + marker.getPoint().lng() + \" <\" + ref + \">\";});");
  p.line(2, "map.addOverlay(marker);");
  p.line(2, "return marker;");
  p.line(1, "}");
  p.blank();
  p.line(1, "function MoveGreenMarker(lat, lng) {");
  p.lines(2, {"MovableMarker.setPoint(new GLatLng(lat,lng));",
              "MovableMarker.show();",
              "return MovableMarker;"});
  p.line(1, "}");
  for (const TileLayer& l : layers) {
    if (!l.on) continue;
    p.blank();
    p.line(1, std::string(l.prefix) + "GetTileUrl = function (a,b) {");
    p.line(2, "var url = \"" + tileServerAddress(l.tiles) + l.urlRest);
    p.line(2, "return url;");
    p.line(1, "}");
  }
  p.blank();
  p.line(1, "function load_map() {");
  p.line(2, "if (GBrowserIsCompatible()) {");

  p.line(3, "map = new GMap2(document.getElementById(\"mymap\"));");
  if (o.Control == 1) p.line(3, "map.addControl(new GSmallMapControl());");
  if (o.Control == 2) p.line(3, "map.addControl(new GLargeMapControl());");
  p.lines(3, {"map.enableDoubleClickZoom();",
              "map.enableContinuousZoom();",
              "map.enableScrollWheelZoom();"});
  if (o.MapType) p.line(3, "map.addControl(new GMapTypeControl());");
  if (!o.MapTypeSatellite) p.line(3, "map.removeMapType(G_SATELLITE_MAP);");
  if (!o.MapTypeHybrid) p.line(3, "map.removeMapType(G_HYBRID_MAP);");
  if (o.MapTypePhysical) p.line(3, "map.addMapType(G_PHYSICAL_MAP);");
  if (anyLayer) {
    p.line(3, "var copycol = new GCopyrightCollection(\"&copy; <a HREF=\\\"" + c.MapDataSite +
                  "\\\" TARGET=_BLANK>OpenStreetMap</a>\");");
    p.line(3, "var copy = new GCopyright(1, new GLatLngBounds(new GLatLng(-90,-180),new GLatLng(90,180)), 0, "
              "\"<A HREF=\\\"" + c.LicenceSite + "/licenses/by-sa/2.0/\\\" TARGET=_BLANK>(CC-by-sa)</A>\");");
    p.line(3, " copycol.addCopyright(copy);");
  }
  for (const TileLayer& l : layers)
    if (l.on) writeLayerLines(p, l);
  if (o.Scale) p.line(3, "map.addControl(new GScaleControl());");
  if (o.OverView) p.line(3, "map.addControl(new GOverviewMapControl(new GSize( 150, 100)));");
  p.line(3, "var s = " + pageNumberText(DataBBox.MinLat) + ";");
  p.line(3, "var n = " + pageNumberText(DataBBox.MaxLat) + ";");
  p.line(3, "var o = " + pageNumberText(DataBBox.MinLon) + ";");
  p.line(3, "var e = " + pageNumberText(DataBBox.MaxLon) + ";");
  p.lines(3, {"var SO = new GLatLng(s,o);",
              "var NE = new GLatLng(n,e);",
              "var Bnd = new GLatLngBounds(SO,NE);",
              "var Zoom = map.getBoundsZoomLevel(Bnd);",
              "window.status = \"Zoom \" + Zoom;",
              "map.setCenter(Bnd.getCenter(), Zoom);",
              "window.status = \"Bounds \" + map.getBounds();"});
  p.blank();
  p.lines(3, {"MovableMarker = new GMarker(Bnd.getCenter(),{icon: SmallGreenIcon, draggable: false, hide: true});",
              "map.addOverlay(MovableMarker);",
              "MovableMarker.hide();"});
  const TGPXwptList& wpts = GPX->Waypoints;
  if (!wpts.Empty()) {
    p.blank();
    writeMarkerFunction(p);
    p.blank();
  }
  // The colour settings are checked here: whatever else they hold never reaches the script.
  const std::string routeColor = validMapColor(o.RouteColor, TGMapOptions().RouteColor);
  const std::string trackColor = validMapColor(o.TrackColor, TGMapOptions().TrackColor);
  for (int r = 0; r < GPX->Routes.Count(); ++r) {
    TGPXrte* route = GPX->Routes.GetRoute(r);
    const std::string i = formatInt(r);
    writePolyline(p, enc, *route, "// Route #" + i + " :", "eRoute" + i, route->Style, o, routeColor);
  }
  for (int t = 0; t < GPX->Tracks.Count(); ++t) {
    TGPXtrk* track = GPX->Tracks.GetTrack(t);
    for (int s = 0; s < track->Count(); ++s) {
      const std::string n = "TrackSeg" + formatInt(t) + "s" + formatInt(s);
      writePolyline(p, enc, *track->GetSegment(s), "// Track Segment " + n, "e" + n, track->Style, o, trackColor);
    }
  }
  if (!wpts.Empty()) {
    p.blank();
    for (int w = 0; w < wpts.Count(); ++w) {
      const TGPXwpt* pt = wpts.GetPoint(w);
      const std::string i = formatInt(w);
      p.line(3, "var LatLon" + i + " = new GLatLng(" + pageNumberText(pt->Lat) + ", " + pageNumberText(pt->Lon) + ");");
      p.line(3, "var marker" + i + " = createMarker(LatLon" + i + ",'" + waypointInfoHtml(*pt) + "'," + i + ");");
      p.line(3, "map.addOverlay(marker" + i + ");");
    }
  }
  p.blank();
  p.line(3, "GEvent.addListener(map, \"click\", function(overlay, point){");
  p.line(4, "if (point != null) {");
  p.line(5, "window.status = \"Click \" + point.lat() + \", \"+ point.lng();");
  p.line(4, "} else if (overlay != null) {");
  p.line(5, "window.status = \"Overlay \" + lastPoint.lat() + \", \"+ lastPoint.lng();");
  p.line(4, "}");
  p.line(3, "});");
  writeListener(p, "zoomend", "", {"window.status = \"Zoom \" + map.getZoom();"});
  p.line(3, "map.hideControls();");
  if (o.ShowControl) writeListener(p, "mouseover", "", {"map.showControls();"});
  if (o.AutoHide) writeListener(p, "mouseout", "", {"map.hideControls();"});
  writeListener(p, "mousemove", "point", {"lastPoint = point;"});
  writeListener(p, "moveend", "", {"window.status = \"Bounds \" + map.getBounds();"});
  writeListener(p, "resize", "", {"window.status = \"Bounds \" + map.getBounds();"});

  p.line(2, "}");
  p.lines(1, {"}",
              "//]]>",
              "</script>"});
  p.line(0, "</html>");
  return p.take();
}
