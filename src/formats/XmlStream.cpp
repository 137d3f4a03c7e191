// The streaming walk: libxml2's push parser with SAX2 callbacks that pass to libxml2's own
// tree builder only inside the subtree being built.
#include "formats/XmlStream.h"

#include <libxml/SAX2.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>

#include <cerrno>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

#include "formats/XmlParseOptions.h"

namespace {

enum class Mode : unsigned char { Container, SubtreeRoot, SubtreeInner, SkipRoot, SkipInner };

struct Walk {
  XmlStreamHandler* handler = nullptr;
  XmlErrors* errors = nullptr;
  std::vector<Mode> open;  // one entry per open element
  std::exception_ptr failure;  // an exception from the handler, rethrown after the parse
};

Walk& walkOf(void* ctx) { return *static_cast<Walk*>(static_cast<xmlParserCtxtPtr>(ctx)->_private); }

bool building(const Walk& w) {
  return !w.open.empty() && (w.open.back() == Mode::SubtreeRoot || w.open.back() == Mode::SubtreeInner);
}

void stopOnException(xmlParserCtxtPtr ctxt, Walk& w) {
  w.failure = std::current_exception();
  xmlStopParser(ctxt);
}

void freeDetached(xmlNodePtr node) {
  xmlUnlinkNode(node);
  xmlFreeNode(node);
}

void onStart(void* ctx, const xmlChar* localname, const xmlChar* prefix, const xmlChar* URI, int nbNs,
             const xmlChar** namespaces, int nbAttributes, int nbDefaulted, const xmlChar** attributes) {
  auto ctxt = static_cast<xmlParserCtxtPtr>(ctx);
  Walk& w = walkOf(ctx);
  Mode parent = w.open.empty() ? Mode::Container : w.open.back();
  if (parent == Mode::SkipRoot || parent == Mode::SkipInner) {
    w.open.push_back(Mode::SkipInner);
    return;
  }
  xmlSAX2StartElementNs(ctx, localname, prefix, URI, nbNs, namespaces, nbAttributes, nbDefaulted, attributes);
  if (parent != Mode::Container) {
    w.open.push_back(Mode::SubtreeInner);
    return;
  }
  Mode mode = Mode::SkipRoot;
  try {
    switch (w.handler->classify(XmlNode(ctxt->node))) {
      case XmlStreamHandler::Kind::Container: mode = Mode::Container; break;
      case XmlStreamHandler::Kind::Subtree: mode = Mode::SubtreeRoot; break;
      case XmlStreamHandler::Kind::Skip: mode = Mode::SkipRoot; break;
    }
  } catch (...) {
    stopOnException(ctxt, w);
  }
  w.open.push_back(mode);
}

void onEnd(void* ctx, const xmlChar* localname, const xmlChar* prefix, const xmlChar* URI) {
  auto ctxt = static_cast<xmlParserCtxtPtr>(ctx);
  Walk& w = walkOf(ctx);
  if (w.open.empty()) return;
  Mode mode = w.open.back();
  w.open.pop_back();
  if (mode == Mode::SkipInner) return;
  xmlNodePtr node = ctxt->node;
  try {
    if (mode == Mode::SubtreeRoot) w.handler->subtree(XmlNode(node));
    else if (mode == Mode::Container) w.handler->endContainer(XmlNode(node));
  } catch (...) {
    stopOnException(ctxt, w);
  }
  xmlSAX2EndElementNs(ctx, localname, prefix, URI);
  // A finished child of a container has been handed over: drop it, so that memory holds
  // no more than the open path. The root stays with the document.
  if (mode != Mode::SubtreeInner && node && node->parent && node->parent->type == XML_ELEMENT_NODE)
    freeDetached(node);
}

void onCharacters(void* ctx, const xmlChar* ch, int len) {
  if (building(walkOf(ctx))) xmlSAX2Characters(ctx, ch, len);
}
void onCData(void* ctx, const xmlChar* ch, int len) {
  if (building(walkOf(ctx))) xmlSAX2CDataBlock(ctx, ch, len);
}
void onComment(void* ctx, const xmlChar* value) {
  if (building(walkOf(ctx))) xmlSAX2Comment(ctx, value);
}
void onPI(void* ctx, const xmlChar* target, const xmlChar* data) {
  if (building(walkOf(ctx))) xmlSAX2ProcessingInstruction(ctx, target, data);
}
void onReference(void* ctx, const xmlChar* name) {
  if (building(walkOf(ctx))) xmlSAX2Reference(ctx, name);
}

void onError(void* userData, xmlErrorPtr error) {
  auto ctxt = static_cast<xmlParserCtxtPtr>(userData);
  XmlErrors::structuredHandler(walkOf(ctxt).errors, error);
}

}  // namespace

template <class Feed>
bool XmlStream::run(XmlStreamHandler& handler, Feed feed) {
  XmlErrorCapture capture(errors_);
  xmlSAXHandler sax;
  std::memset(&sax, 0, sizeof sax);
  xmlSAXVersion(&sax, 2);
  sax.startElementNs = onStart;
  sax.endElementNs = onEnd;
  sax.characters = onCharacters;
  sax.ignorableWhitespace = onCharacters;
  sax.cdataBlock = onCData;
  sax.comment = onComment;
  sax.processingInstruction = onPI;
  sax.reference = onReference;
  sax.serror = onError;

  Walk walk;
  walk.handler = &handler;
  walk.errors = &errors_;
  xmlParserCtxtPtr ctxt = xmlCreatePushParserCtxt(&sax, nullptr, nullptr, 0, nullptr);
  if (!ctxt) {
    errors_.addFatal("Out of memory", XML_ERR_NO_MEMORY);
    return false;
  }
  ctxt->_private = &walk;
  xmlCtxtUseOptions(ctxt, kXmlSafeParseOptions);

  bool readOk = feed([&](const char* data, int size, bool last) {
    return xmlParseChunk(ctxt, data, size, last ? 1 : 0) == 0 && !walk.failure;
  });
  bool ok = readOk && ctxt->wellFormed && !errors_.hasFatal() && !walk.failure;
  if (ctxt->myDoc) xmlFreeDoc(ctxt->myDoc);
  ctxt->myDoc = nullptr;
  xmlFreeParserCtxt(ctxt);
  if (walk.failure) std::rethrow_exception(walk.failure);
  if (!ok && !errors_.hasFatal()) errors_.addFatal("Document is not well-formed", XML_ERR_DOCUMENT_END);
  return ok;
}

bool XmlStream::parseFile(const std::string& path, XmlStreamHandler& handler) {
  // Our own descriptor, not libxml2's URL loaders: a file name is never a network address.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    errors_.addFatal("Cannot open \"" + path + "\": " + std::strerror(errno), XML_IO_LOAD_ERROR);
    return false;
  }
  bool ok = run(handler, [&](auto parse) {
    std::vector<char> buffer(1 << 16);
    for (;;) {
      ssize_t n = ::read(fd, buffer.data(), buffer.size());
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        errors_.addFatal("Cannot read \"" + path + "\": " + std::strerror(errno), XML_IO_LOAD_ERROR);
        return false;
      }
      if (!parse(buffer.data(), int(n), n == 0)) return false;
      if (n == 0) return true;
    }
  });
  ::close(fd);
  return ok;
}

bool XmlStream::parseMemory(std::string_view text, XmlStreamHandler& handler) {
  return run(handler, [&](auto parse) {
    constexpr size_t chunk = 1 << 16;
    for (size_t pos = 0; pos < text.size(); pos += chunk) {
      size_t n = std::min(chunk, text.size() - pos);
      if (!parse(text.data() + pos, int(n), false)) return false;
    }
    return parse(nullptr, 0, true);
  });
}
