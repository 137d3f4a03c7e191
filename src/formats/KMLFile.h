// KML import (placemark points to waypoints, line strings to tracks) and export
// of the whole document as a KML 2.2 file.
#pragma once
#include <memory>
#include <string>

#include "formats/GPXFile.h"
#include "formats/ReadIssues.h"

class XmlDocument;
class XmlErrors;
class XmlNode;

class TKMLFile : public TGPXFile {
public:
  // Reads the file and appends its placemarks to the document; failures, and points left
  // out, go to the log. Loaded tells whether a kml element was found and read.
  void Import(const std::string& fileName);
  // The same for KML text held in memory.
  void ImportString(const std::string& text);
  // Writes the whole document as KML, replacing the file only once it is complete.
  void SaveToFile(const std::string& fileName);

private:
  void importDocument(std::unique_ptr<XmlDocument> doc, const XmlErrors& errors);
  void importPlacemarks(const XmlNode& kml);
  void importPoint(const XmlNode& placemark);
  void importLineString(const XmlNode& placemark);
  TReadIssues issues_;
};
