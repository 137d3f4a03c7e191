// A forward walk over an XML file or text that never holds the whole tree. The caller
// marks some elements as containers (walked child by child, like gpx, trk and trkseg) and
// each child of a container as a subtree (built whole, handed over, then freed), a record
// (like a subtree, but handed over flat without building a tree when it has the simple form
// of a track point) or skipped. Only the open containers and one child are in memory.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "formats/XmlErrors.h"
#include "formats/XmlFlatRecord.h"
#include "formats/XmlNode.h"

class XmlStreamHandler {
public:
  enum class Kind { Container, Subtree, Record, Skip };
  virtual ~XmlStreamHandler() = default;
  // An element whose parent is a container (the root's parent, the document, is one).
  virtual Kind classify(const XmlName& element) = 0;
  // For a record: a child element that must be read from a tree (the record then goes to
  // subtree() instead of record()).
  virtual bool childNeedsTree(const XmlName& child) { return false; }
  // A subtree, complete; it is freed when this returns.
  virtual void subtree(const XmlNode& element) = 0;
  // A record in flat form: no namespace declarations, children with text only and no
  // reference to an entity, nothing under xml:space="preserve".
  virtual void record(const XmlFlatRecord& element) {}
  // A container's start tag (its attributes are there, its children not yet) and end tag.
  virtual void startContainer(const XmlNode& element) {}
  virtual void endContainer(const XmlNode& element) {}
};

class XmlStream {
public:
  // Both return false on a parse or read error, which errors() then holds.
  bool parseFile(const std::string& path, XmlStreamHandler& handler);
  bool parseMemory(std::string_view text, XmlStreamHandler& handler);

  const XmlErrors& errors() const { return errors_; }
  // What entity references put into the document, measured as a tree's texts, names and values.
  size_t entityTextBytes() const { return entityTextBytes_; }

private:
  template <class Feed>
  bool run(XmlStreamHandler& handler, size_t inputSize, Feed feed);
  XmlErrors errors_;
  size_t entityTextBytes_ = 0;
};
