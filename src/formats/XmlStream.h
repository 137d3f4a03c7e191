// A forward walk over an XML file or text that never holds the whole tree. The caller
// marks some elements as containers (walked child by child, like gpx, trk and trkseg) and
// the children of a container as subtrees (built whole, handed over, then freed) or as
// skipped. Only the open containers and the one subtree being built are in memory.
#pragma once
#include <string>
#include <string_view>

#include "formats/XmlErrors.h"
#include "formats/XmlNode.h"

class XmlStreamHandler {
public:
  enum class Kind { Container, Subtree, Skip };
  virtual ~XmlStreamHandler() = default;
  // An element whose parent is a container (the root's parent, the document, is one),
  // with its attributes but no children yet.
  virtual Kind classify(const XmlNode& element) = 0;
  // A subtree, complete; it is freed when this returns.
  virtual void subtree(const XmlNode& element) = 0;
  // The end tag of a container.
  virtual void endContainer(const XmlNode& element) {}
};

class XmlStream {
public:
  // Both return false on a parse or read error, which errors() then holds.
  bool parseFile(const std::string& path, XmlStreamHandler& handler);
  bool parseMemory(std::string_view text, XmlStreamHandler& handler);

  const XmlErrors& errors() const { return errors_; }

private:
  template <class Feed>
  bool run(XmlStreamHandler& handler, Feed feed);
  XmlErrors errors_;
};
