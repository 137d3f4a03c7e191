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
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "base/FileText.h"
#include "formats/XmlParseOptions.h"

namespace {

enum class Mode : unsigned char { Container, SubtreeRoot, SubtreeInner, RecordRoot, RecordChild, SkipRoot, SkipInner };

struct Walk {
  Walk(XmlStreamHandler& h, XmlErrors& e, size_t inputSize) : handler(&h), errors(&e), entities(inputSize, e) {}
  XmlStreamHandler* handler = nullptr;
  XmlErrors* errors = nullptr;
  XmlEntityGuard entities;
  std::vector<Mode> open;      // one entry per open element
  XmlFlatRecord record;        // the record being read flat
  std::exception_ptr failure;  // an exception from the handler, rethrown after the parse
  xmlNode* cdataEndedInCR = nullptr;  // the CDATA node whose last piece ended with a CR
  // Where a reference in a container (or in a skipped element) put an entity's text: the
  // node and its last child before; that text is handed over (or dropped) at the next event.
  xmlNode* copyInto = nullptr;
  xmlNode* copyAfter = nullptr;
  bool copyDropped = false;
  bool substituted = false;  // some entity's text has been put into the document
};

Walk& walkOf(void* ctx) { return *static_cast<Walk*>(static_cast<xmlParserCtxtPtr>(ctx)->_private); }

// libxml2 parses the text of a declared entity, at its first reference, with a context of
// its own that shares our callbacks. Those calls go to the tree builder alone: the entity
// keeps that tree, and each reference copies it into the document (or has it built anew
// where other namespaces are in scope: XmlEntityGuard), where the walk reads it as if it
// stood in the file (see onGetEntity).
Walk* documentWalk(void* ctx) {
  Walk& w = walkOf(ctx);
  return w.entities.isDocument(ctx) ? &w : nullptr;
}

Mode top(const Walk& w) { return w.open.empty() ? Mode::Container : w.open.back(); }
bool building(Mode m) { return m == Mode::SubtreeRoot || m == Mode::SubtreeInner; }
bool recording(Mode m) { return m == Mode::RecordRoot || m == Mode::RecordChild; }
const char* str(const xmlChar* s) { return reinterpret_cast<const char*>(s); }
const xmlChar* xstr(const char* s) { return reinterpret_cast<const xmlChar*>(s); }

void stopOnException(xmlParserCtxtPtr ctxt, Walk& w) {
  w.failure = std::current_exception();
  xmlStopParser(ctxt);
}

void freeDetached(xmlNodePtr node) {
  xmlUnlinkNode(node);
  xmlFreeNode(node);
}

// Whether a record's start tag allows reading it flat; fills the record's attributes.
bool startFlat(xmlParserCtxtPtr ctxt, Walk& w, const xmlChar* localname, const xmlChar* prefix,
               const xmlChar* URI, int nbNs, int nbAttributes, int nbDefaulted, const xmlChar** attributes) {
  if (nbNs != 0 || nbDefaulted != 0 || xmlPreservesSpace(ctxt->node)) return false;
  w.record.begin(XmlName{str(prefix), str(localname)}, str(URI));
  for (int i = 0; i < nbAttributes; ++i) {
    const xmlChar** a = attributes + i * 5;
    const char* value = str(a[3]);
    size_t length = size_t(a[4] - a[3]);
    // xml:* attributes are left to the tree builder (values come with references replaced).
    if (a[1] && std::strcmp(str(a[1]), "xml") == 0) return false;
    w.record.addAttribute(XmlName{str(a[1]), str(a[0])}, str(a[2]), value, length);
  }
  return true;
}

// The record turned out not to be flat: build its tree from what was recorded so far and
// go on building.
void replayRecord(xmlParserCtxtPtr ctxt, Walk& w) {
  const XmlFlatRecord& r = w.record;
  std::vector<const xmlChar*> attrs;
  attrs.reserve(r.attributeCount() * 5);
  for (size_t i = 0; i < r.attributeCount(); ++i) {
    const auto& a = r.attributeAt(i);
    const xmlChar* v = xstr(a.value.data());
    attrs.insert(attrs.end(), {xstr(a.name.local), xstr(a.name.prefix), xstr(a.uri), v, v + a.value.size()});
  }
  xmlSAX2StartElementNs(ctxt, xstr(r.name.local), xstr(r.name.prefix), xstr(r.uri), 0, nullptr,
                        int(r.attributeCount()), 0, attrs.data());
  for (size_t i = 0; i < r.pieceCount(); ++i) {
    const auto& p = r.pieceAt(i);
    if (p.isElement()) xmlSAX2StartElementNs(ctxt, xstr(p.name.local), xstr(p.name.prefix), xstr(p.uri), 0, nullptr, 0, 0, nullptr);
    if (!p.raw.empty()) xmlSAX2Characters(ctxt, xstr(p.raw.data()), int(p.raw.size()));
    if (p.isElement() && p.closed) xmlSAX2EndElementNs(ctxt, xstr(p.name.local), xstr(p.name.prefix), xstr(p.uri));
  }
  for (Mode& m : w.open) {
    if (m == Mode::RecordRoot) m = Mode::SubtreeRoot;
    else if (m == Mode::RecordChild) m = Mode::SubtreeInner;
  }
}

// An element that a reference put into a container, handed over as the walk hands over
// what the file itself holds there.
void feedTree(Walk& w, xmlNode* el) {
  using Kind = XmlStreamHandler::Kind;
  const XmlName name{el->ns ? str(el->ns->prefix) : nullptr, str(el->name)};
  switch (w.handler->classify(name)) {
    case Kind::Skip: return;
    case Kind::Container:
      w.handler->startContainer(XmlNode(el));
      for (xmlNode* c = el->children; c; c = c->next)
        if (c->type == XML_ELEMENT_NODE) feedTree(w, c);
      w.handler->endContainer(XmlNode(el));
      return;
    case Kind::Subtree:
    case Kind::Record: w.handler->subtree(XmlNode(el)); return;
  }
}

// Hands over what the last references put into a container, or drops it for a skipped
// element, and frees it. False when the handler failed (the parse is then stopped).
bool settle(xmlParserCtxtPtr ctxt, Walk& w) {
  if (!w.copyInto) return true;
  xmlNode* n = w.copyAfter ? w.copyAfter->next : w.copyInto->children;
  w.copyInto = w.copyAfter = nullptr;
  bool ok = true;
  while (n) {
    xmlNode* next = n->next;
    if (ok && !w.copyDropped && n->type == XML_ELEMENT_NODE) {
      try {
        xmlJoinAdjacentCharData(n);
        feedTree(w, n);
      } catch (...) {
        stopOnException(ctxt, w);
        ok = false;
      }
    }
    freeDetached(n);
    n = next;
  }
  return ok;
}

// libxml2 asks for every general entity it meets. In content it then puts the entity's
// text into the node being built: a record becomes a tree first, so that the text lands in
// it; in a container, and in a skipped element (whose text would land in its container),
// the place is noted for settle().
xmlEntityPtr onGetEntity(void* ctx, const xmlChar* name) {
  auto ctxt = static_cast<xmlParserCtxtPtr>(ctx);
  xmlEntityPtr entity = walkOf(ctx).entities.get(ctxt, name);
  Walk* wp = documentWalk(ctx);
  if (!wp || !entity || ctxt->instate != XML_PARSER_CONTENT || ctxt->disableSAX) return entity;
  Walk& w = *wp;
  w.substituted = true;
  const Mode m = top(w);
  if (recording(m)) {
    replayRecord(ctxt, w);
  } else if (!building(m) && !w.copyInto && ctxt->node) {
    w.copyInto = ctxt->node;
    w.copyAfter = ctxt->node->last;
    w.copyDropped = m == Mode::SkipRoot || m == Mode::SkipInner;
  }
  return entity;
}

void onStart(void* ctx, const xmlChar* localname, const xmlChar* prefix, const xmlChar* URI, int nbNs,
             const xmlChar** namespaces, int nbAttributes, int nbDefaulted, const xmlChar** attributes) {
  auto ctxt = static_cast<xmlParserCtxtPtr>(ctx);
  XmlEntityGuard& guard = walkOf(ctx).entities;
  Walk* wp = documentWalk(ctx);
  if (!wp)
    return guard.buildStartTag(ctxt, localname, prefix, URI, nbNs, namespaces, nbAttributes, nbDefaulted, attributes);
  if (!guard.startTag(ctxt, nbNs, namespaces)) return;
  Walk& w = *wp;
  if (!settle(ctxt, w)) return;
  Mode parent = top(w);
  if (parent == Mode::SkipRoot || parent == Mode::SkipInner) {
    w.open.push_back(Mode::SkipInner);
    return;
  }
  try {
    if (parent == Mode::RecordRoot && nbNs == 0 && nbAttributes == 0 &&
        !w.handler->childNeedsTree(XmlName{str(prefix), str(localname)})) {
      w.record.openChild(XmlName{str(prefix), str(localname)}, str(URI));
      w.open.push_back(Mode::RecordChild);
      return;
    }
    if (recording(parent)) {
      replayRecord(ctxt, w);
      parent = Mode::SubtreeInner;
    }
    if (building(parent)) {
      xmlSAX2StartElementNs(ctx, localname, prefix, URI, nbNs, namespaces, nbAttributes, nbDefaulted, attributes);
      w.open.push_back(Mode::SubtreeInner);
      return;
    }
    XmlStreamHandler::Kind kind = w.handler->classify(XmlName{str(prefix), str(localname)});
    if (kind == XmlStreamHandler::Kind::Skip) {
      w.open.push_back(Mode::SkipRoot);
      return;
    }
    if (kind == XmlStreamHandler::Kind::Record &&
        startFlat(ctxt, w, localname, prefix, URI, nbNs, nbAttributes, nbDefaulted, attributes)) {
      w.open.push_back(Mode::RecordRoot);
      return;
    }
    xmlSAX2StartElementNs(ctx, localname, prefix, URI, nbNs, namespaces, nbAttributes, nbDefaulted, attributes);
    if (kind == XmlStreamHandler::Kind::Container) {
      w.open.push_back(Mode::Container);
      w.handler->startContainer(XmlNode(ctxt->node));
    } else {
      w.open.push_back(Mode::SubtreeRoot);
    }
  } catch (...) {
    stopOnException(ctxt, w);
  }
}

void onEnd(void* ctx, const xmlChar* localname, const xmlChar* prefix, const xmlChar* URI) {
  auto ctxt = static_cast<xmlParserCtxtPtr>(ctx);
  walkOf(ctx).entities.endTag();
  Walk* wp = documentWalk(ctx);
  if (!wp) return xmlSAX2EndElementNs(ctx, localname, prefix, URI);
  if (wp->open.empty()) return;
  Walk& w = *wp;
  if (!settle(ctxt, w)) return;
  Mode mode = w.open.back();
  w.open.pop_back();
  switch (mode) {
    case Mode::SkipRoot:
    case Mode::SkipInner: return;
    case Mode::RecordChild: w.record.closeChild(); return;
    case Mode::SubtreeInner: xmlSAX2EndElementNs(ctx, localname, prefix, URI); return;
    default: break;
  }
  xmlNodePtr node = ctxt->node;
  try {
    if (mode == Mode::RecordRoot) {
      w.handler->record(w.record);
      return;
    }
    if (mode == Mode::SubtreeRoot) {
      if (w.substituted) xmlJoinAdjacentCharData(node);
      w.handler->subtree(XmlNode(node));
    } else {
      w.handler->endContainer(XmlNode(node));
    }
  } catch (...) {
    stopOnException(ctxt, w);
  }
  xmlSAX2EndElementNs(ctx, localname, prefix, URI);
  // A finished child of a container has been handed over: drop it, so that memory holds
  // no more than the open path. The root stays with the document.
  if (node && node->parent && node->parent->type == XML_ELEMENT_NODE) freeDetached(node);
}

// Each hands its text to the guard first, which weighs what an entity's text builds.
bool weighed(void* ctx, size_t bytes) {
  return walkOf(ctx).entities.handOver(static_cast<xmlParserCtxtPtr>(ctx), bytes);
}

void onCharacters(void* ctx, const xmlChar* ch, int len) {
  if (!weighed(ctx, size_t(len))) return;
  Walk* wp = documentWalk(ctx);
  if (!wp) return xmlSAX2Characters(ctx, ch, len);
  Walk& w = *wp;
  if (!settle(static_cast<xmlParserCtxtPtr>(ctx), w)) return;
  Mode m = top(w);
  if (recording(m)) {
    // libxml2 bounds a text node in the tree it builds; past that size a record goes to
    // the tree too, so that an oversized text fails alike on both ways.
    if (w.record.textSize() + size_t(len) <= size_t(XML_MAX_TEXT_LENGTH)) {
      w.record.addText(str(ch), size_t(len));
      return;
    }
    replayRecord(static_cast<xmlParserCtxtPtr>(ctx), w);
    m = top(w);
  }
  if (building(m)) xmlSAX2Characters(ctx, ch, len);
}

// Anything but elements and text ends the flat form of a record.
bool buildHere(void* ctx) {
  Walk* wp = documentWalk(ctx);
  if (!wp) return true;
  Walk& w = *wp;
  if (!settle(static_cast<xmlParserCtxtPtr>(ctx), w)) return false;
  if (recording(top(w))) replayRecord(static_cast<xmlParserCtxtPtr>(ctx), w);
  return building(top(w));
}

void onCData(void* ctx, const xmlChar* ch, int len) {
  if (!weighed(ctx, size_t(len))) return;
  // An entity's text is parsed whole, as a tree parsed whole is.
  Walk* wp = documentWalk(ctx);
  if (!wp) return xmlSAX2CDataBlock(ctx, ch, len);
  if (!buildHere(ctx)) return;
  // The push parser hands a CDATA section over raw and in pieces: its line ends are not
  // made LF as a tree parsed whole has them, and a CR LF may fall across two pieces. Both
  // are mended here, and the pieces joined into one node (XmlDocument joins adjacent
  // sections alike), so that both ways give the same text.
  xmlNodePtr parent = static_cast<xmlParserCtxtPtr>(ctx)->node;
  xmlNodePtr last = parent ? parent->last : nullptr;
  const bool joining = last && last->type == XML_CDATA_SECTION_NODE;
  std::string text;
  text.reserve(size_t(len));
  int i = joining && wp->cdataEndedInCR == last && len > 0 && ch[0] == '\n' ? 1 : 0;
  for (; i < len; ++i) {
    if (ch[i] != '\r') {
      text += char(ch[i]);
      continue;
    }
    text += '\n';
    if (i + 1 < len && ch[i + 1] == '\n') ++i;
  }
  const auto* data = reinterpret_cast<const xmlChar*>(text.data());
  if (joining)
    xmlNodeAddContentLen(last, data, int(text.size()));
  else
    xmlSAX2CDataBlock(ctx, data, int(text.size()));
  // A piece cut off before the section's end lies in the parser's input with more of the
  // section after it; a whole section is followed there by its "]]>". Only a cut piece can
  // have split a CR LF.
  const bool cut = std::memcmp(ch + len, "]]>", 3) != 0;
  wp->cdataEndedInCR = cut && len > 0 && ch[len - 1] == '\r' && parent ? parent->last : nullptr;
}
void onComment(void* ctx, const xmlChar* value) {
  if (weighed(ctx, xmlTextBytes(value)) && buildHere(ctx)) xmlSAX2Comment(ctx, value);
}
void onPI(void* ctx, const xmlChar* target, const xmlChar* data) {
  if (weighed(ctx, xmlTextBytes(target) + xmlTextBytes(data)) && buildHere(ctx))
    xmlSAX2ProcessingInstruction(ctx, target, data);
}
void onReference(void* ctx, const xmlChar* name) {
  if (buildHere(ctx)) xmlSAX2Reference(ctx, name);
}

void onError(void* userData, xmlErrorPtr error) {
  auto ctxt = static_cast<xmlParserCtxtPtr>(userData);
  XmlErrors::structuredHandler(walkOf(ctxt).errors, error);
}

}  // namespace

template <class Feed>
bool XmlStream::run(XmlStreamHandler& handler, size_t inputSize, Feed feed) {
  XmlErrorCapture capture(errors_);
  refuseExternalLoads();
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
  sax.getEntity = onGetEntity;
  sax.getParameterEntity = [](void* ctx, const xmlChar* name) {
    return walkOf(ctx).entities.getParameter(static_cast<xmlParserCtxtPtr>(ctx), name);
  };
  sax.entityDecl = [](void* ctx, const xmlChar* name, int type, const xmlChar* publicId, const xmlChar* systemId,
                      xmlChar* content) {
    walkOf(ctx).entities.declare(static_cast<xmlParserCtxtPtr>(ctx), name, type, publicId, systemId, content);
  };
  sax.serror = onError;

  Walk walk(handler, errors_, inputSize);
  xmlParserCtxtPtr ctxt = xmlCreatePushParserCtxt(&sax, nullptr, nullptr, 0, nullptr);
  if (!ctxt) {
    errors_.addFatal("Out of memory", XML_ERR_NO_MEMORY);
    return false;
  }
  ctxt->_private = &walk;
  walk.entities.setDocument(ctxt);
  // What the handler keeps is bounded alike.
  XmlReadBudget budget(inputSize);
  xmlCtxtUseOptions(ctxt, kXmlSafeParseOptions);
  // As libxml2's own streaming reader does: an entity keeps the tree of its text and each
  // reference gets a copy (counted against libxml2's amplification limit), so that the
  // walk may free what it has read.
  ctxt->parseMode = XML_PARSE_READER;

  bool readOk = feed([&](const char* data, int size, bool last) {
    return xmlParseChunk(ctxt, data, size, last ? 1 : 0) == 0 && !walk.failure;
  });
  const bool settled = walk.entities.finish();
  bool ok = readOk && settled && ctxt->wellFormed && !errors_.hasFatal() && !walk.failure;
  entityTextBytes_ = walk.entities.documentBytes();
  if (ctxt->myDoc) xmlFreeDoc(ctxt->myDoc);
  ctxt->myDoc = nullptr;
  xmlFreeParserCtxt(ctxt);
  if (walk.failure) {
    try {
      std::rethrow_exception(walk.failure);
    } catch (const XmlReadBudget::Exceeded& e) {
      errors_.addRefusal(e.what());
      return false;
    }
  }
  if (!ok && !errors_.hasError()) errors_.addFatal("Document is not well-formed", XML_ERR_DOCUMENT_END);
  return ok;
}

bool XmlStream::parseFile(const std::string& path, XmlStreamHandler& handler) {
  // Our own descriptor, not libxml2's URL loaders: a file name is never a network address.
  // A pipe or a device may never end: only regular files are read (a folder fails below).
  struct stat st {};
  int fd = openFileToRead(path, st);
  if (fd < 0) {
    errors_.addFatal(st.st_mode ? "Cannot read \"" + path + "\": Not a regular file"
                                : "Cannot open \"" + path + "\": " + std::strerror(errno),
                     XML_IO_LOAD_ERROR);
    return false;
  }
  if (S_ISREG(st.st_mode) && st.st_size == 0) {
    ::close(fd);
    return parseMemory({}, handler);
  }
  bool ok = run(handler, size_t(st.st_size), [&](auto parse) {
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
  // The push parser takes no input for a wrong ending; say what it is.
  if (text.empty()) {
    errors_.addFatal("Document is empty", XML_ERR_DOCUMENT_EMPTY);
    return false;
  }
  return run(handler, text.size(), [&](auto parse) {
    constexpr size_t chunk = 1 << 16;
    for (size_t pos = 0; pos < text.size(); pos += chunk) {
      size_t n = std::min(chunk, text.size() - pos);
      if (!parse(text.data() + pos, int(n), false)) return false;
    }
    return parse(nullptr, 0, true);
  });
}
