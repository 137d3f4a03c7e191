// The GPX file object: reads a GPX 1.1 document from a file or text into a TGPX (and, in
// its writing section, writes one back). Lives for one operation; never owns the document.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/GPX.h"

class XmlNode;
class XmlStream;
class XmlStreamHandler;

class TGPXFile {
public:
  TGPXFile() = default;
  virtual ~TGPXFile() { GPX = nullptr; }
  TGPXFile(const TGPXFile&) = delete;
  TGPXFile& operator=(const TGPXFile&) = delete;

  TGPX* GPX = nullptr;               // the document read into or written; not owned
  bool Loaded = false;               // a gpx element was found and read
  std::vector<std::string> Messages; // the message log, one entry a line
  TGPXOptions Options;

  void Log(const std::string& text) { Messages.push_back(text); }

  // ---- reading ----
  // Both append to the document; on a parse error nothing of the input is kept.
  void LoadFromFile(const std::string& fileName);
  void LoadFromString(const std::string& text);

  // The normalised text of the last child element of a name (case ignored); empty when none.
  static std::string GetLastNodeText(const XmlNode& element, const std::string& name);
  // The serialised children of the last child element of a name, trimmed.
  static std::string GetExtensionNodeContent(const XmlNode& element, const std::string& name);
  // ISO 8601 date and time (calendar, ordinal or week date, fractions, zones) to a UTC
  // date-time; 0 when the text is too short, names no valid date or time, or falls outside
  // the years 1 to 9999 once shifted to UTC.
  static double ISO8601ToDateTime(const std::string& text);
  // The same; false (and `out` untouched) where the other gives 0.
  static bool TryISO8601ToDateTime(const std::string& text, double& out);

  // Element readers.
  static void ReadMetadata(const XmlNode& element, TGPXmetadata& into);
  static TGPXperson ReadPerson(const XmlNode& element);
  static TGPXemail ReadEmail(const XmlNode& element);
  static TGPXLink ReadLink(const XmlNode& element);
  static TGPXcopyright ReadCopyright(const XmlNode& element);
  static TGPXbounds ReadBounds(const XmlNode& element);
  // Appends the point to the list and marks the list present; a point whose coordinates
  // are missing, no number or off the globe is left out (null).
  // keepForeign: elements of other namespaces among its children join its extensions.
  static TGPXwpt* ReadWpt(const XmlNode& element, TGPXwptList& into, bool keepForeign = true);
  static std::unique_ptr<TGPXrte> ReadRte(const XmlNode& element);
  static std::unique_ptr<TGPXtrk> ReadTrk(const XmlNode& element);
  static std::unique_ptr<TGPXtrkseg> ReadTrkseg(const XmlNode& element);
  // A top-level extensions element: its serialised children.
  static std::string ReadExtensions(const XmlNode& element);

  // ---- writing ----
  // Writes the whole document as GPX 1.1, compressed or not as the options say; recomputes
  // the metadata bounds first when the document has metadata. The text goes to a temporary
  // file beside the target that replaces it only when complete: a failure raises
  // std::system_error and leaves the old file whole.
  void SaveToFile(const std::string& fileName);
  // Element text of one list, with CR LF line ends and TAB indentation whatever the
  // compress option says (the clipboard wraps it into a document of its own).
  std::string ExportGPXWPTList(const TGPXwptList& list) const;
  std::string ExportGPXRTEList(const TGPXrteList& list) const;
  std::string ExportGPXTRKList(const TGPXtrkList& list) const;

protected:
  // Moves the waypoints, routes and tracks of a document read apart onto the end of `to`'s
  // lists, with their present flags.
  static void AppendItems(TGPX& from, TGPX& to);

private:
  // The walk shared by both loads: reads into a fresh document, then moves its items into GPX.
  void ReadDocument(const std::function<bool(XmlStream&, XmlStreamHandler&)>& parse);
};
