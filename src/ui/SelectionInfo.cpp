// The texts that describe a selected tree node.
#include "ui/SelectionInfo.h"

#include "base/NumberText.h"
#include "base/Translate.h"
#include "model/GPSAnalysis.h"
#include "model/GPX.h"
#include "ui/TreeNodes.h"

namespace {

// A count in the plural domain's "%d point" form.
std::string countText(const char* singular, const char* plural, int n) {
  std::string text = pluralText(singular, plural, static_cast<unsigned long>(n));
  if (auto at = text.find("%d"); at != std::string::npos) text.replace(at, 2, formatInt(n));
  return text;
}

std::string pointsWord(int n) { return n > 1 ? _("points") : _("point"); }

void listPanels(const TPointList2& list, TSelectionInfo& info) {
  const double d = GetDistance(&list), t = GetDuration(&list);
  const int n = list.Count();
  info.Panels[0] = t != 0 ? DurationToStr(t) : std::string();
  info.Panels[1] = formatInt(n) + " " + pointsWord(n);
  info.Panels[2] = t != 0 ? DistanceToStr(d) + " => " + SpeedToStr(d, t) : DistanceToStr(d);
}

}  // namespace

TSelectionInfo selectionInfo(TreeNodeKind kind, const void* object, int position) {
  TSelectionInfo info;
  info.Log = treeNodeClassName(kind);
  const std::string nr = " #" + formatInt(position);
  const auto* item = static_cast<const TItem*>(object);
  switch (kind) {
    case TreeNodeKind::Rte: {
      const auto& rte = *static_cast<const TGPXrte*>(item);
      info.Log = _("Route") + nr + " : " + rte.name + " (" + " " +
                 countText("%d point", "%d points", rte.Count()) + ")";
      listPanels(rte, info);
      break;
    }
    case TreeNodeKind::Trk: {
      const auto& trk = *static_cast<const TGPXtrk*>(item);
      info.Log = _("Track") + nr + " : " + trk.name + " (" + " " +
                 countText("%d track segment", "%d track segments", trk.Count()) + ")";
      break;
    }
    case TreeNodeKind::Trkseg: {
      const auto& seg = *static_cast<const TGPXtrkseg*>(item);
      info.Log = _("Track Segment") + nr + " (" + formatInt(seg.Count()) + " " + pointsWord(seg.Count()) + ")";
      listPanels(seg, info);
      break;
    }
    case TreeNodeKind::Wpt: {
      const auto& wpt = *static_cast<const TGPXwpt*>(item);
      info.Log = _("Waypoint") + nr + " : " + wpt.data().name + " (" + wpt.LatLonToStr() + ")";
      if (wpt.Time != 0) info.Log += " " + wpt.TimeToStr();
      break;
    }
    case TreeNodeKind::WptList:
      info.Log = _("Waypoint list");
      break;
    case TreeNodeKind::Metadata:
      info.Log = _("Metadata") + " : " + " " + static_cast<const TGPXmetadata*>(item)->name;
      break;
    case TreeNodeKind::Extension:
      info.Log = _("Extensions") + " :" + " " + static_cast<const TGPXExtension*>(object)->Text;
      break;
    default:
      break;  // the root and the route and track lists: their class name
  }
  return info;
}
