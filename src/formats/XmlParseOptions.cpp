// The external-load refusal, the start tags of entity text and the measure of what
// references produce.
#include "formats/XmlParseOptions.h"

#include <libxml/SAX2.h>
#include <libxml/entities.h>
#include <libxml/tree.h>

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/Translate.h"
#include "formats/XmlErrors.h"

namespace {

xmlParserInputPtr refuseLoad(const char*, const char*, xmlParserCtxtPtr) { return nullptr; }

constexpr size_t kExpansionFactor = 10;
constexpr size_t kExpansionAllowance = 1000000;
constexpr size_t kUnbounded = SIZE_MAX;

size_t addBounded(size_t a, size_t b) { return a > kUnbounded - b ? kUnbounded : a + b; }

std::string refusalLine() { return _("Entity text more than ten times the file's size: nothing read"); }

size_t textBytes(const xmlNode* n) {
  size_t total = 0;
  for (; n; n = n->next) total += xmlTextBytes(n->content);
  return total;
}

// The size of built nodes as a tree holds them: texts, comments and instructions, names,
// namespace declarations and attribute values. Walked without recursion: copies of entities
// nest their elements deep.
size_t nodeListBytes(const xmlNode* first) {
  size_t total = 0;
  const xmlNode* top = first ? first->parent : nullptr;
  for (const xmlNode* n = first; n;) {
    switch (n->type) {
      case XML_ELEMENT_NODE:
        total += xmlTextBytes(n->name);
        for (const xmlNs* ns = n->nsDef; ns; ns = ns->next) total += xmlTextBytes(ns->prefix) + xmlTextBytes(ns->href);
        for (const xmlAttr* a = n->properties; a; a = a->next) total += xmlTextBytes(a->name) + textBytes(a->children);
        break;
      case XML_TEXT_NODE:
      case XML_CDATA_SECTION_NODE:
      case XML_COMMENT_NODE: total += xmlTextBytes(n->content); break;
      case XML_PI_NODE: total += xmlTextBytes(n->name) + xmlTextBytes(n->content); break;
      default: break;
    }
    n = xmlNextInTree(n, top);
  }
  return total;
}

bool isNameStart(xmlChar c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':' || c >= 0x80;
}
bool isNameChar(xmlChar c) { return isNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.'; }

// The bytes that libxml2's decoding of an attribute value puts out for an entity's own
// characters, as it reads them: a character reference gives its character, a predefined
// entity one character, an "&" that starts no reference nothing; the references to other
// entities give nothing here.
size_t decodedOwnBytes(const xmlChar* s) {
  size_t total = 0;
  while (s && *s) {
    if (*s != '&') {
      ++total;
      ++s;
      continue;
    }
    if (s[1] == '#') {
      const bool hex = s[2] == 'x';
      unsigned long code = 0;
      const xmlChar* p = s + (hex ? 3 : 2);
      for (; *p && *p != ';'; ++p) {
        const int lower = *p | 0x20;
        const int digit = *p >= '0' && *p <= '9'                     ? *p - '0'
                          : hex && lower >= 'a' && lower <= 'f' ? lower - 'a' + 10
                                                                : -1;
        if (digit < 0 || code > 0x10FFFF) return total;  // libxml2 gives up on the whole value
        code = code * (hex ? 16 : 10) + unsigned(digit);
      }
      if (*p != ';' || code == 0) return total;
      total += code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
      s = p + 1;
      continue;
    }
    const xmlChar* p = s + 1;
    if (!isNameStart(*p)) {
      s = p;
      continue;
    }
    while (isNameChar(*p)) ++p;
    if (*p != ';') {
      s = p;
      continue;
    }
    const std::string_view name(reinterpret_cast<const char*>(s + 1), size_t(p - s - 1));
    if (name == "lt" || name == "gt" || name == "amp" || name == "apos" || name == "quot") ++total;
    s = p + 1;
  }
  return total;
}

}  // namespace

size_t xmlAmplificationLimit(size_t inputSize) {
  return addBounded(inputSize > kUnbounded / kExpansionFactor ? kUnbounded : inputSize * kExpansionFactor,
                    kExpansionAllowance);
}

void refuseExternalLoads() {
  static std::once_flag once;
  std::call_once(once, [] { xmlSetExternalEntityLoader(refuseLoad); });
}

// What the guard hands back for a reference once the parse has failed: an entity that
// produces nothing.
struct XmlEntityGuard::Empty {
  xmlEntity entity{};
  xmlChar content[1] = {0};
  explicit Empty(xmlEntityType etype) {
    entity.type = XML_ENTITY_DECL;
    entity.name = reinterpret_cast<const xmlChar*>("");
    entity.content = content;
    entity.etype = etype;
    entity.checked = 2;  // weighed already: it refers to nothing
  }
  ~Empty() {
    // libxml2 leaves a declaration's literal text with the entity its last lookup found.
    if (entity.orig) xmlFree(entity.orig);
    xmlFreeNodeList(entity.children);
  }
  Empty(const Empty&) = delete;
  Empty& operator=(const Empty&) = delete;
};

XmlEntityGuard::XmlEntityGuard(size_t inputSize, XmlErrors& errors)
    : limit_(xmlAmplificationLimit(inputSize)), errors_(errors) {}

XmlEntityGuard::~XmlEntityGuard() = default;

bool XmlEntityGuard::add(size_t bytes) {
  used_ = addBounded(used_, bytes);
  if (used_ <= limit_) return true;
  if (!refused_) errors_.addRefusal(refusalLine());
  refused_ = true;
  return false;
}

// Fails the parse as a malformed file fails it: libxml2 reads on to the end of its input
// without handing anything over. Nothing is freed, so this is safe anywhere.
xmlEntityPtr XmlEntityGuard::fail(xmlParserCtxtPtr ctxt, int etype) {
  for (xmlParserCtxtPtr c : {ctxt, document_}) {
    if (!c) continue;
    c->wellFormed = 0;
    c->disableSAX = 1;
    if (c->errNo == XML_ERR_OK) c->errNo = XML_ERR_USER_STOP;
  }
  std::unique_ptr<Empty>& empty = empty_[etype == XML_INTERNAL_PARAMETER_ENTITY ? 1 : 0];
  if (!empty) empty = std::make_unique<Empty>(xmlEntityType(etype));
  return &empty->entity;
}

bool XmlEntityGuard::failed(xmlParserCtxtPtr ctxt) const {
  return !ctxt->wellFormed || (document_ && !document_->wellFormed);
}

// Stopping a parser frees its input. Where libxml2 reads an entity's text pushed as input, or
// is inside the DTD, it may still hold pointers into it: there the parse only fails.
bool XmlEntityGuard::stop(xmlParserCtxtPtr ctxt) {
  auto calm = [](xmlParserCtxtPtr c) { return !c || (c->inputNr <= 1 && !c->inSubset); };
  if (calm(ctxt) && calm(document_)) {
    xmlStopParser(ctxt);
    // An entity's text is parsed by a parser of its own: the document's must stop too.
    if (document_ && document_ != ctxt) xmlStopParser(document_);
  } else {
    fail(ctxt, XML_INTERNAL_GENERAL_ENTITY);
  }
  return false;
}

// What is built now stands where it is built and, once more, in each copy that the builds
// around it make; it reaches the document where the outermost reference stands in it.
// `mayLand`: false for what is thrown away or counted again as it lands.
bool XmlEntityGuard::produce(xmlParserCtxtPtr ctxt, size_t bytes, bool mayLand) {
  const size_t copies = 1 + pending_.size();
  const bool lands =
      mayLand && (pending_.empty() ? ctxt == document_ && !ctxt->inSubset : pending_.front().intoDocument);
  if (!add(bytes > kUnbounded / copies ? kUnbounded : bytes * copies)) return false;
  if (lands) document_bytes_ = addBounded(document_bytes_, bytes);
  return true;
}

size_t XmlEntityGuard::treeBytes(xmlEntityPtr entity) {
  auto [at, fresh] = treeBytes_.try_emplace(entity, 0);
  if (fresh) at->second = nodeListBytes(entity->children);
  return at->second;
}

// The builds and decodings that libxml2 is back above are over: what they built is counted
// already. A decoding is over too once another parser is at work.
void XmlEntityGuard::settle(xmlParserCtxtPtr ctxt) {
  const int depth = ctxt ? ctxt->depth : -1;
  while (!pending_.empty() && (depth < 0 || pending_.back().depth >= depth)) pending_.pop_back();
  while (!decoding_.empty() && (decoding_.back().ctxt != ctxt || decoding_.back().depth >= depth))
    decoding_.pop_back();
}

// libxml2 decodes an entity met for the first time inside an attribute value's decoding
// twice: once only to weigh it (its checked mark is 1 meanwhile), once for the value. What
// the first gives is thrown away.
bool XmlEntityGuard::transientDecode(xmlParserCtxtPtr ctxt, xmlEntityPtr entity) {
  const bool transient =
      std::any_of(decoding_.begin(), decoding_.end(), [](const Decoding& d) { return d.entity->checked == 1; });
  decoding_.push_back({entity, ctxt->depth, ctxt});
  return transient;
}

// Whether the entity's own text is being read further up: a reference loop, which libxml2
// stops at its depth limit.
bool XmlEntityGuard::enclosing(xmlEntityPtr entity) const {
  return std::any_of(pending_.begin(), pending_.end(), [&](const Pending& p) { return p.entity == entity; }) ||
         std::any_of(decoding_.begin(), decoding_.end(), [&](const Decoding& d) { return d.entity == entity; });
}

// Between a declaration's value and its '>', libxml2 skips blanks, and within a parameter
// entity's text it reads the parameter-entity references it meets there: those are lookups
// too, and each counts, whatever its name. Its own lookup comes last, once the '>' is read.
bool XmlEntityGuard::lookupOfDeclared(xmlParserCtxtPtr ctxt, const xmlChar* name, bool parameter) {
  const Declared declared = std::exchange(declared_, Declared{});
  const xmlParserInputPtr in = ctxt->input;
  return declared.name && declared.ctxt == ctxt && declared.parameter == parameter &&
         xmlStrEqual(name, declared.name) && in && in->base && in->cur > in->base && in->cur[-1] == '>';
}

void XmlEntityGuard::declare(xmlParserCtxtPtr ctxt, const xmlChar* name, int type, const xmlChar* publicId,
                             const xmlChar* systemId, xmlChar* content) {
  const bool parameter = type == XML_INTERNAL_PARAMETER_ENTITY || type == XML_EXTERNAL_PARAMETER_ENTITY;
  declared_ = content ? Declared{name, parameter, ctxt} : Declared{};
  xmlSAX2EntityDecl(ctxt, name, type, publicId, systemId, content);
}

void XmlEntityGuard::openScope(int nbNamespaces, const xmlChar** namespaces) {
  for (int i = 0; i < nbNamespaces; ++i) {
    bindings_[namespaces[2 * i]].push_back({namespaces[2 * i + 1], ++serial_});
    openPrefixes_.push_back(namespaces[2 * i]);
  }
  openCounts_.push_back(uint32_t(nbNamespaces));
}

void XmlEntityGuard::endTag() {
  if (openCounts_.empty()) return;
  for (uint32_t i = openCounts_.back(); i > 0; --i) {
    std::vector<Binding>& b = bindings_[openPrefixes_.back()];
    if (!b.empty()) b.pop_back();
    openPrefixes_.pop_back();
  }
  openCounts_.pop_back();
}

// What a prefix (null: the default namespace) means here, and when it was declared so.
const xmlChar* XmlEntityGuard::boundTo(const xmlChar* prefix, uint64_t* serial) const {
  auto at = bindings_.find(prefix);
  const Binding* b = at == bindings_.end() || at->second.empty() ? nullptr : &at->second.back();
  if (serial) *serial = b ? b->serial : 0;
  return b ? b->uri : nullptr;
}

// An element of an entity's text uses a prefix: each entity being built whose text does not
// declare it depends on what it means where that entity's reference stands.
void XmlEntityGuard::noteUse(const xmlChar* prefix) {
  if (pending_.empty() || xmlStrEqual(prefix, reinterpret_cast<const xmlChar*>("xml"))) return;
  uint64_t serial = 0;
  const xmlChar* uri = boundTo(prefix, &serial);
  for (const Pending& p : pending_)
    if (serial <= p.since) usedFromScope_[p.entity].emplace(prefix, uri);
}

// An entity's elements built where a prefix they use meant something else are dropped, so
// that libxml2 builds them anew at this reference, as at a first one. Otherwise the copy made
// here uses those prefixes as the builds around it do.
void XmlEntityGuard::buildInScope(xmlEntityPtr entity) {
  auto used = usedFromScope_.find(entity);
  if (used == usedFromScope_.end()) return;
  const bool same = std::all_of(used->second.begin(), used->second.end(), [&](const auto& use) {
    const xmlChar* now = boundTo(use.first, nullptr);
    return now == use.second || xmlStrEqual(now, use.second);
  });
  xmlNodePtr list = entity->children;
  if (same || !list || entity->owner != 1 || list->parent != reinterpret_cast<xmlNodePtr>(entity)) {
    for (const auto& use : used->second) noteUse(use.first);
    return;
  }
  xmlFreeNodeList(list);
  entity->children = entity->last = nullptr;
  treeBytes_.erase(entity);
  usedFromScope_.erase(used);
}

xmlEntityPtr XmlEntityGuard::get(xmlParserCtxtPtr ctxt, const xmlChar* name) {
  xmlEntityPtr entity = xmlSAX2GetEntity(ctxt, name);
  if (lookupOfDeclared(ctxt, name, false)) return entity;
  // A file found malformed is refused whatever follows: nothing more of it is expanded (an
  // entity's text may repeat a broken reference a million times).
  if (refused_ || failed(ctxt)) return fail(ctxt, XML_INTERNAL_GENERAL_ENTITY);
  settle(ctxt);
  // Each reference's own characters count, one to an undeclared entity too (libxml2 reports
  // each of those, however many times an entity's text repeats them).
  if (!add(size_t(xmlStrlen(name)) + 2)) return fail(ctxt, XML_INTERNAL_GENERAL_ENTITY);
  if (!entity || entity->etype != XML_INTERNAL_GENERAL_ENTITY) return entity;
  if (enclosing(entity)) loopSeen_ = true;
  if (ctxt->instate == XML_PARSER_CONTENT) {
    buildInScope(entity);
    if (entity->children)
      return produce(ctxt, treeBytes(entity), true) ? entity : fail(ctxt, XML_INTERNAL_GENERAL_ENTITY);
    // What lands in the document: not an entity's own text.
    usedFromScope_.erase(entity);
    pending_.push_back({entity, ctxt->depth, ctxt == document_ && !ctxt->inSubset, serial_});
    return entity;
  }
  // Decoded: in an attribute value, a declaration's default value, or the text of a parameter
  // entity that libxml2 weighs. The entity's own characters count here, its references when
  // libxml2 resolves them in turn. In an entity's text the start tag counts its values.
  const bool transient = transientDecode(ctxt, entity);
  auto [literal, fresh] = literalBytes_.try_emplace(entity, 0);
  if (fresh) literal->second = decodedOwnBytes(entity->content);
  const size_t bytes = entity->content && entity->content[0] ? literal->second : 0;
  return produce(ctxt, bytes, ctxt == document_ && !transient) ? entity : fail(ctxt, XML_INTERNAL_GENERAL_ENTITY);
}

// A parameter entity's text is put in where it is referenced: read as declarations, or into
// a value being declared. libxml2 keeps what those declare.
xmlEntityPtr XmlEntityGuard::getParameter(xmlParserCtxtPtr ctxt, const xmlChar* name) {
  xmlEntityPtr entity = xmlSAX2GetParameterEntity(ctxt, name);
  if (lookupOfDeclared(ctxt, name, true)) return entity;
  if (refused_ || failed(ctxt)) return fail(ctxt, XML_INTERNAL_PARAMETER_ENTITY);
  settle(ctxt);
  size_t bytes = size_t(xmlStrlen(name)) + 2;
  if (entity && entity->content) {
    bytes = addBounded(bytes, size_t(std::max(entity->length, 0)));
    // Its text still being read as input, or decoded further up: a loop.
    for (int i = 1; i < ctxt->inputNr; ++i)
      if (ctxt->inputTab[i]->base == entity->content) loopSeen_ = true;
    if (enclosing(entity)) loopSeen_ = true;
    if (ctxt->instate == XML_PARSER_ENTITY_VALUE) decoding_.push_back({entity, ctxt->depth, ctxt});
  }
  return add(bytes) ? entity : fail(ctxt, XML_INTERNAL_PARAMETER_ENTITY);
}

bool XmlEntityGuard::handOver(xmlParserCtxtPtr ctxt, size_t bytes) {
  if (refused_) return stop(ctxt);
  settle(ctxt);
  return ctxt == document_ || produce(ctxt, bytes, true) || stop(ctxt);
}

bool XmlEntityGuard::startTag(xmlParserCtxtPtr ctxt, int nbNamespaces, const xmlChar** namespaces) {
  openScope(nbNamespaces, namespaces);
  if (refused_) return stop(ctxt);
  settle(ctxt);
  // Each element gets its own copy of the declarations, those a DTD gives by default too.
  size_t bytes = 0;
  for (int i = 0; i < 2 * nbNamespaces; ++i) bytes += xmlTextBytes(namespaces[i]);
  return add(bytes) || stop(ctxt);
}

void XmlEntityGuard::buildStartTag(xmlParserCtxtPtr ctxt, const xmlChar* localname, const xmlChar* prefix,
                                   const xmlChar* URI, int nbNamespaces, const xmlChar** namespaces, int nbAttributes,
                                   int nbDefaulted, const xmlChar** attributes) {
  // A prefix needs declaring here when the parser knows its name but neither this tag nor
  // the tree built so far declares it so.
  std::vector<const xmlChar*> all(namespaces, namespaces + 2 * nbNamespaces);
  auto declare = [&](const xmlChar* p, const xmlChar* uri) {
    if (!uri || xmlStrEqual(p, reinterpret_cast<const xmlChar*>("xml"))) return;
    for (size_t i = 0; i < all.size(); i += 2)
      if (all[i] == p || xmlStrEqual(all[i], p)) return;
    const xmlNs* in = xmlSearchNs(ctxt->myDoc, ctxt->node, p);
    if (!in || !xmlStrEqual(in->href, uri)) all.insert(all.end(), {p, uri});
  };
  declare(prefix, URI);
  for (int i = 0; i < nbAttributes; ++i)
    if (attributes[5 * i + 1]) declare(attributes[5 * i + 1], attributes[5 * i + 2]);
  const int nbAll = int(all.size() / 2);
  if (ctxt == document_) {
    if (!startTag(ctxt, nbAll, all.data())) return;
  } else {
    openScope(nbNamespaces, namespaces);
    if (refused_) return (void)stop(ctxt);
    settle(ctxt);
    noteUse(prefix);
    for (int i = 0; i < nbAttributes; ++i)
      if (attributes[5 * i + 1]) noteUse(attributes[5 * i + 1]);
    // In an entity's text the whole tag is built; default attribute values are not.
    size_t bytes = xmlTextBytes(localname);
    for (const xmlChar* n : all) bytes += xmlTextBytes(n);
    for (int i = 0; i < nbAttributes - nbDefaulted; ++i) {
      const xmlChar** a = attributes + 5 * i;
      bytes += xmlTextBytes(a[0]) + size_t(a[4] - a[3]);
    }
    if (!produce(ctxt, bytes, true)) return (void)stop(ctxt);
  }
  xmlSAX2StartElementNs(ctxt, localname, prefix, URI, nbAll, all.data(), nbAttributes, nbDefaulted, attributes);
}

bool XmlEntityGuard::finish() {
  settle(nullptr);
  // libxml2 calls its own refusal of amplification (a billion laughs) a loop as well.
  if (!loopSeen_) errors_.restate(XML_ERR_ENTITY_LOOP, refusalLine());
  return !refused_;
}
