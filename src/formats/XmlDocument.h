// A whole XML document held as a tree, for small inputs (clipboard text, KML files).
// Large GPX files are walked with XmlStream instead.
#pragma once
#include <cstddef>
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
  // The bytes of the text parsed, and what entity references put into the tree of it.
  size_t inputSize() const { return inputSize_; }
  size_t entityTextBytes() const { return entityTextBytes_; }

private:
  explicit XmlDocument(_xmlDoc* doc) : doc_(doc) {}
  _xmlDoc* doc_;
  XmlErrors errors_;
  size_t inputSize_ = 0;
  size_t entityTextBytes_ = 0;
};
