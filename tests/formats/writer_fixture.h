// Documents and helpers shared by the writer tests.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "base/DateTime.h"
#include "format_test_helpers.h"
#include "model/GPX.h"

inline TGPXwpt* addPoint(TGPXwptList& list, double lat, double lon, double ele = 0,
                         double time = 0) {
  auto p = std::make_unique<TGPXwpt>();
  p->Lat = lat;
  p->Lon = lon;
  p->Ele = ele;
  p->Time = time;
  list.Present = true;
  return list.AddPoint(std::move(p));
}

inline void fillLink(TGPXLink& link, const std::string& href, const std::string& text,
                     const std::string& type) {
  link.href = href;
  link.text = text;
  link.type = type;
  link.Present = true;
}

// A point that uses every field of a waypoint.
inline void fillAllPointFields(TGPXwpt& p, const std::string& tag) {
  TGPXwptData& x = p.edit();
  x.magvar = 3.5;
  x.geoidheight = 47.25;
  x.name = tag + " a & b < c > d";
  x.cmt = tag + " says \"hi\"";
  x.desc = tag + " description";
  x.src = tag + " source";
  fillLink(x.link, "https://example.org/p?a=1&b=2", tag + " link", "text/html");
  x.sym = "Flag";
  x.type = "marker";
  x.fix = "dgps";
  x.sat = 12;
  x.hdop = 1.5;
  x.vdop = 2.25;
  x.pdop = 2.75;
  x.ageofdgpsdata = 0.5;
  x.dgpsid = 17;
  x.extensions = "<t:" + tag + " xmlns:t=\"urn:corvantel:test\">7</t:" + tag + ">";
}

// A document using every field at every place the writer knows, extensions included.
inline std::unique_ptr<TGPX> makeFullDocument() {
  auto gpx = std::make_unique<TGPX>();
  gpx->Creator = "Corvantel \"test\" & co";

  TGPXmetadata& m = gpx->Metadata;
  m.Present = true;
  m.name = "Full <document>";
  m.desc = "Every field & every place";
  m.author.Present = true;
  m.author.name = "Ann Author";
  m.author.email = {"ann", "example.org", true};
  fillLink(m.author.link, "https://example.org/ann", "Ann's page", "text/html");
  m.copyright.Present = true;
  m.copyright.author = "Ann \"A\" Author";
  m.copyright.year = 2008;
  m.copyright.license = "https://example.org/licence";
  fillLink(m.link, "https://example.org/?x=1&y=2", "Home", "text/html");
  m.time = encodeDateTime(2008, 12, 17, 7, 30, 5, 999);
  m.keywords = "test, writer";
  m.bounds = {-0.5, -1.25, 52.5, 13.75, true};
  m.extensions = "<t:meta xmlns:t=\"urn:corvantel:test\">m</t:meta>";

  TGPXwpt* w = addPoint(gpx->Waypoints, 52.5, 13.25, 34.5, encodeDateTime(2008, 12, 17, 7, 30, 5));
  fillAllPointFields(*w, "wpt");
  addPoint(gpx->Waypoints, 0, 0);

  auto rte = std::make_unique<TGPXrte>();
  rte->name = "Route & co";
  rte->cmt = "route comment";
  rte->desc = "route description";
  rte->src = "route source";
  fillLink(rte->link, "https://example.org/r", "route link", "text/html");
  rte->number = 3;
  rte->type = "cycling";
  rte->extensions = "<t:rte xmlns:t=\"urn:corvantel:test\">r</t:rte>";
  rte->Style.SetColorHex("FF8000");
  rte->Style.Opacity = 0.5;
  fillAllPointFields(*addPoint(*rte, 52.25, 13.5, 40, encodeDateTime(2008, 12, 17, 8, 0, 0)),
                     "rtept");
  addPoint(*rte, 52.125, 13.625, 0.5);
  gpx->Routes.Add(std::move(rte));
  gpx->Routes.Present = true;

  auto trk = std::make_unique<TGPXtrk>();
  trk->name = "Track";
  trk->cmt = "track comment";
  trk->desc = "track description";
  trk->src = "track source";
  fillLink(trk->link, "https://example.org/t", "track link", "text/html");
  trk->number = 4;
  trk->type = "hiking";
  trk->extensions = "<t:trk xmlns:t=\"urn:corvantel:test\">t</t:trk>";
  trk->Style.SetColorHex("0080FF");
  auto seg = std::make_unique<TGPXtrkseg>();
  fillAllPointFields(*addPoint(*seg, 0.00001, -1.25, -3.5, encodeDateTime(2008, 12, 17, 9, 0, 1)),
                     "trkpt");
  addPoint(*seg, -0.5, 1e-7, 1234.5, encodeDateTime(2008, 12, 17, 9, 0, 2, 500));
  seg->extensions = "<t:seg xmlns:t=\"urn:corvantel:test\">s</t:seg>";
  trk->Add(std::move(seg));
  trk->Add(std::make_unique<TGPXtrkseg>());  // kept although it has no points
  gpx->Tracks.Add(std::move(trk));
  gpx->Tracks.Present = true;

  gpx->Extension.Text = "<t:doc xmlns:t=\"urn:corvantel:test\">d</t:doc>";
  return gpx;
}

// A fresh folder under the test's temporary folder.
inline std::string makeTempFolder() {
  std::string tmpl = ::testing::TempDir() + "corvantel-writer-XXXXXX";
  if (!mkdtemp(tmpl.data())) return ::testing::TempDir();
  return tmpl;
}

inline std::string schemaPath() { return CORVANTEL_TEST_DATA "/gpx11.xsd"; }
