// The clipboard's GPX document and plain text of one copied item.
#include "formats/GPXClipboard.h"

#include "formats/GPXCSV.h"
#include "formats/GPXWriter.h"

bool MakeClipboardTexts(const TItem& item, const TGPX& source, int clipboardFormat,
                        TClipboardTexts& out) {
  // A fresh writer: CR LF and TABs, whatever the last save used; the style line only
  // where it was read.
  const TGPXWriter writer;
  std::string body, csv;
  int count = 1;
  switch (item.Kind()) {
    case ItemKind::WptList: {
      const auto& list = static_cast<const TGPXwptList&>(item);
      body = writer.ExportGPXWPTList(list);
      csv = ExportCSVWPTList(&list, true);
      count = list.Count();
      break;
    }
    case ItemKind::Wpt: {
      const auto& point = static_cast<const TGPXwpt&>(item);
      writer.WriteWpt(body, point, "wpt", 0);
      // The text of a list holding just this point: a copy is cheap for one point.
      TGPXwptList one;
      one.AddPoint(std::make_unique<TGPXwpt>(point));
      csv = ExportCSVWPTList(&one, true);
      break;
    }
    case ItemKind::RteList: {
      const auto& list = static_cast<const TGPXrteList&>(item);
      body = writer.ExportGPXRTEList(list);
      csv = ExportCSVRTEList(list);
      count = list.Count();
      break;
    }
    case ItemKind::Rte: {
      const auto& route = static_cast<const TGPXrte&>(item);
      writer.WriteRte(body, route);
      csv = ExportCSVRte(route);
      break;
    }
    case ItemKind::TrkList: {
      const auto& list = static_cast<const TGPXtrkList&>(item);
      body = writer.ExportGPXTRKList(list);
      csv = ExportCSVTRKList(list);
      count = list.Count();
      break;
    }
    case ItemKind::Trk: {
      const auto& track = static_cast<const TGPXtrk&>(item);
      writer.WriteTrk(body, track);
      csv = ExportCSVTrk(track);
      break;
    }
    default:
      return false;
  }
  out.Document.clear();
  writer.WriteStartTag(out.Document, source);
  out.Document += body;
  out.Document += "</gpx>";
  out.Text = clipboardFormat == 1 ? csv : body;
  out.Count = count;
  out.Kind = item.Kind();
  return true;
}
