// A whole XML document held as a tree, for small inputs (clipboard text, KML files).
// Large GPX files are walked with XmlStream instead.
#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "formats/XmlErrors.h"
#include "formats/XmlNode.h"

struct _xmlDoc;

class XmlDocument {
public:
  ~XmlDocument();
  XmlDocument(const XmlDocument&) = delete;
  XmlDocument& operator=(const XmlDocument&) = delete;

  // Parses text; on failure returns nullptr and leaves libxml2's messages in `errors`.
  static std::unique_ptr<XmlDocument> parse(std::string_view text, XmlErrors& errors);
  static std::unique_ptr<XmlDocument> parseFile(const std::string& path, XmlErrors& errors);

  // The document node: its children are the root element, comments and processing instructions.
  XmlNode documentNode() const;
  // The root element.
  XmlNode root() const;
  // Messages of a successful parse (non-fatal errors), one a line.
  const XmlErrors& errors() const { return errors_; }

private:
  explicit XmlDocument(_xmlDoc* doc) : doc_(doc) {}
  _xmlDoc* doc_;
  XmlErrors errors_;
};
