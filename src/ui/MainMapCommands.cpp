// The map tab's two editing commands: a waypoint at the last clicked map position, and a
// route drawn by clicking on the map, added to the document when the button is released.
#include <QAction>
#include <QToolBar>

#include "base/NumberText.h"
#include "base/Translate.h"
#include "ui/Main.h"
#include "views/GPXToGmap.h"
#include "views/MapProtocol.h"

void TMainForm::tbGMapAddWayPointClick() {
  std::string S = ToolBar2->toolTip().toStdString();
  if (S.starts_with("Click "))
    S = trim(S.substr(6));
  else if (S.starts_with("Overlay "))
    S = trim(S.substr(8));
  else {
    AddLog(_("Click on the GMap first"));
    return;
  }
  // Read before anything changes: a text that does not read leaves the document alone.
  TMapPosition position;
  if (!parseMapPosition(S, position)) return;
  SaveUndoState();
  auto point = std::make_unique<TGPXwpt>();
  point->Lat = position.Lat;
  point->Lon = position.Lon;
  point->Ele = 0;
  TGPXwptData& d = point->edit();
  d.name = "GMap " + point->LatLonToStr();
  d.fix = "2d";
  d.src = "Google Map";
  TGPXwptList& list = CurrentGPX->Waypoints;
  TGPXwpt* w = list.AddPoint(std::move(point));
  list.Present = true;
  RefreshTree();
  CurrentGPX->Selection.Clear();
  CurrentGPX->Selection.Add(w);
  SelectTreeNodes(CurrentGPX->Selection.Items);
  if (PreviewDraw && PreviewDraw->GPX && !PreviewDraw->IsPointVisible(*w)) PreviewDraw->FitAll(true, false);
  DrawPreview();
  // The new marker's index follows the page's own: it never names another waypoint, even
  // after waypoints were deleted while the page stayed.
  const int marker = static_cast<int>(MapMarkers.size());
  MapMarkers.push_back(w);
  RunMapScript("createMapMarker(\"" + position.LatText + "\", \"" + position.LonText + "\", " +
               scriptStringLiteral(d.name) + ", " + formatInt(marker) + ");");
  AddLog(_("Added WayPoint : ") + w->LatLonToStr());
  tbGMapAddWayPoint->setEnabled(false);
}

void TMainForm::tbGMapDrawRouteClick() {
  if (!CurrentGPX || !GPXLoaded) return;
  if (tbGMapDrawRoute->isChecked()) {
    MapRoute = std::make_unique<TGPXrte>();
    return;
  }
  std::unique_ptr<TGPXrte> route = std::move(MapRoute);
  if (!route || route->Count() == 0) return;
  SaveUndoState();
  TGPXrteList& routes = CurrentGPX->Routes;
  route->name = _("Google Map Route #") + formatInt(routes.Count());
  route->Present = true;
  TGPXrte* added = routes.Add(std::move(route));
  routes.Present = true;
  CurrentGPX->Selection.Clear();
  CurrentGPX->Selection.Add(added);
  RefreshTree();
  SelectTreeNodes(CurrentGPX->Selection.Items);
  GPXModified = true;
  tbDelete->setEnabled(false);
  DrawPreview();
}

void TMainForm::AddMapRoutePoint(const std::string& S) {
  if (!CurrentGPX || !GPXLoaded || !MapRoute) return;
  TMapPosition position;
  if (!parseMapPosition(afterFirstBlank(S), position)) return;
  auto point = std::make_unique<TGPXwpt>();
  point->Lat = position.Lat;
  point->Lon = position.Lon;
  TGPXwpt* p = MapRoute->AddPoint(std::move(point));
  const int count = MapRoute->Count();
  if (count >= 2) {
    std::string script = "pts = [];\r\n";
    for (int i = 0; i < count; ++i) {
      const TGPXwpt* q = MapRoute->GetPoint(i);
      script += "pts[" + formatInt(i) + "] = new GLatLng(" + pageNumberText(q->Lat) + ", " +
                pageNumberText(q->Lon) + ");\r\n";
    }
    if (count >= 3) script += "map.removeOverlay(AddedRoute);";
    script += "var AddedRoute = new GPolyline(pts,\"#" + validMapColor(GMapOptions.RouteColor, "00DD00") + "\",4);\r\n";
    script += "map.addOverlay(AddedRoute);";
    RunMapScript(script);
  }
  AddLog(_("Point added to the new route at") + " " + p->LatLonToStr());
}
