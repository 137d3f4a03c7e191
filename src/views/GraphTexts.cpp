// Point description and graph value texts.
#include "views/GraphTexts.h"

#include "base/DateTime.h"
#include "base/LocaleFormats.h"
#include "base/NumberText.h"
#include "base/Translate.h"
#include "views/GPXStat.h"

namespace {

const char* const kDegreeSign = "\xC2\xB0";
const char* const kSectionSign = "\xC2\xA7";

std::string f1(double v) { return formatFixed(v, 1); }

std::string f1Locale(double v) {
  std::string text = formatFixed(v, 1);
  const size_t dot = text.find('.');
  if (dot != std::string::npos) text.replace(dot, 1, localeFormats().decimalSeparator());
  return text;
}

std::string label(const std::string& text) { return text + " : "; }

int indexIn(const TGPXwptList& list, const TGPXwpt* p, int hint) {
  if (hint >= 0 && hint < list.Count() && list.GetPoint(hint) == p) return hint;
  return list.IndexOf(p);
}

}  // namespace

std::string PointInfoText(const TPointInfoRequest& r, const TStatOptions& o) {
  if (!r.Point) return {};
  const TGPXwpt& p = *r.Point;
  const TGPXwptData& d = p.data();
  std::string s;
  if (o.name && !d.name.empty()) s += d.name + " ";
  if (o.altitude && p.Ele != 0.0) s += label(_("Altitude")) + p.EleToStr() + " ";
  if (o.magvar && d.magvar != 0.0) s += label(_("Magnetic variation")) + f1(d.magvar) + kDegreeSign + " ";
  if (o.geoidheight && d.geoidheight != 0.0) s += label(_("Geoid height")) + f1(d.geoidheight) + "m ";
  if (o.cmt && !d.cmt.empty()) s += "[ " + d.cmt + " ] ";
  if (o.desc && !d.desc.empty()) s += "{ " + d.desc + " } ";
  if (o.src && !d.src.empty()) s += "> " + d.src + " < ";
  if (o.sym && !d.sym.empty()) s += "$ " + d.sym + " $ ";
  if (o.type && !d.type.empty()) s += std::string(kSectionSign) + " " + d.type + " " + kSectionSign + " ";
  if (o.fix && !d.fix.empty()) s += label(_("Fix")) + d.fix + " ";
  if (o.sat && d.sat != 255) s += label(_("Satellites")) + formatInt(d.sat) + " ";
  if (o.hdop && d.hdop != -1.0) s += label(_("HDOP")) + f1(d.hdop) + " ";
  if (o.vdop && d.vdop != -1.0) s += label(_("VDOP")) + f1(d.vdop) + " ";
  if (o.pdop && d.pdop != -1.0) s += label(_("PDOP")) + f1(d.pdop) + " ";
  if (o.ageofgpsdata && d.ageofdgpsdata != -1.0) s += label(_("Age of gps data")) + f1(d.ageofdgpsdata) + " ";
  if (o.dgps && d.dgpsid != -1) s += label(_("DGPSiD")) + formatInt(d.dgpsid) + " ";

  const TItem* first = r.FirstSelected;
  if (first && (first->Is(ItemKind::Rte) || first->Is(ItemKind::Trkseg))) {
    const auto& list = static_cast<const TGPXwptList&>(*first);
    if (o.Speed || r.ShowComputedSpeed) {
      const double speed = list.GetSpeed(&p);
      if (speed > 0.0) s += label(_("Speed")) + f1(speed) + "km/h ";
    }
    const bool needIndex = o.Index || o.Distance || o.Duration;
    const int i = needIndex ? indexIn(list, &p, r.IndexHint) : -1;
    if (o.Index && i >= 0) s += label(_("Index")) + formatInt(i) + " ";
    const TGPXwpt* next = i >= 0 && i < list.Count() - 1 ? list.GetPoint(i + 1) : nullptr;
    if (o.Distance && next) s += label(_("Distance")) + f1(p.DistanceToPoint(*next, false)) + "m ";
    if (o.Duration && next && p.Time != 0 && next->Time != 0)
      s += label(_("Duration")) + f1(daysBetween(p.Time, next->Time) * 24 * 60 * 60) + "s ";
    if (o.ParentName) {
      std::string parent;
      if (first->Is(ItemKind::Rte)) {
        parent = static_cast<const TGPXrte*>(first)->name;
      } else if (r.GPX) {
        if (const TGPXtrk* trk = r.GPX->Tracks.FindTrackOfSegment(static_cast<const TGPXtrkseg*>(first)))
          parent = trk->name;
      }
      if (!parent.empty()) s += "(" + _("part of") + " " + parent + ") ";
    }
  }
  if (!r.Prefix.empty() && s.find(r.Prefix) == std::string::npos) s = r.Prefix + " " + s;
  return trim(s);
}

std::string GraphValueText(uint8_t mode, double value) {
  switch (mode) {
    case smAltitudeTime: case smAltitudeIndex: return label(_("Altitude")) + f1(value) + " m ";
    case smSpeedTime: return label(_("Speed")) + f1(value) + " km/h ";
    case smAngleTime: case smAngleIndex: return label(_("Angle")) + f1(value) + " " + kDegreeSign + " ";
    case smDistanceTime: case smDistanceIndex: return label(_("Distance")) + f1(value) + " m ";
    case smSatTime: case smSatIndex: return label(_("Satellite used ")) + formatInt(truncToInt(value));
    case smHDOPTime: case smHDOPIndex: return label(_("HDOP")) + f1(value);
    default: return {};
  }
}

std::string GraphValueCaption(uint8_t mode, double value) {
  switch (mode) {
    case smAltitudeTime: case smAltitudeIndex: case smDistanceTime: case smDistanceIndex:
      return f1Locale(value) + " m ";
    case smSpeedTime: return f1Locale(value) + " km/h ";
    case smAngleTime: case smAngleIndex: return f1Locale(value) + " " + kDegreeSign + " ";
    case smSatTime: case smSatIndex: return formatInt(truncToInt(value)) + " " + _("satellite");
    case smHDOPTime: case smHDOPIndex: return f1Locale(value);
    default: return {};
  }
}
