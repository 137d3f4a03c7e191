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

bool hasElements(const xmlNode* list) {
  for (; list; list = list->next)
    if (list->type == XML_ELEMENT_NODE) return true;
  return false;
}

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
    if (n->type == XML_ELEMENT_NODE && n->children) {
      n = n->children;
      continue;
    }
    while (n && !n->next) {
      n = n->parent;
      if (n == top) n = nullptr;
    }
    if (n) n = n->next;
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

XmlEntityGuard::XmlEntityGuard(size_t inputSize, XmlErrors& errors)
    : limit_(xmlAmplificationLimit(inputSize)), errors_(errors) {}

void XmlEntityGuard::halt(xmlParserCtxtPtr ctxt) {
  if (ctxt) xmlStopParser(ctxt);
  // An entity's text is parsed by a parser of its own: the document's must stop too.
  if (document_ && document_ != ctxt) xmlStopParser(document_);
}

bool XmlEntityGuard::refuse(xmlParserCtxtPtr ctxt) {
  if (!refused_) errors_.addRefusal(refusalLine());
  refused_ = true;
  halt(ctxt);
  return false;
}

bool XmlEntityGuard::add(xmlParserCtxtPtr ctxt, size_t bytes, bool intoDocument) {
  used_ = addBounded(used_, bytes);
  if (intoDocument) document_bytes_ = addBounded(document_bytes_, bytes);
  return used_ <= limit_ || refuse(ctxt);
}

// What is built now stands where it is built and, once more, in each copy that the builds
// around it make; it reaches the document where the outermost reference stands in it.
// `mayLand`: false for what is thrown away or counted again as it lands.
bool XmlEntityGuard::produce(xmlParserCtxtPtr ctxt, size_t bytes, bool mayLand) {
  const size_t copies = 1 + pending_.size();
  const bool lands =
      mayLand && (pending_.empty() ? ctxt == document_ && !ctxt->inSubset : pending_.front().intoDocument);
  if (!add(ctxt, bytes > kUnbounded / copies ? kUnbounded : bytes * copies, false)) return false;
  if (lands) document_bytes_ = addBounded(document_bytes_, bytes);
  return true;
}

size_t XmlEntityGuard::treeBytes(xmlEntityPtr entity) {
  auto [at, fresh] = treeBytes_.try_emplace(entity, 0);
  if (fresh) at->second = nodeListBytes(entity->children);
  return at->second;
}

// The builds and attribute decodings that libxml2 is back above are over: what they built is
// counted already. A decoding is over too once another parser is at work.
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

// An entity's elements built in other namespaces than those in scope here are dropped, so
// that libxml2 builds them anew at this reference, as at a first one.
void XmlEntityGuard::buildInScope(xmlParserCtxtPtr ctxt, xmlEntityPtr entity) {
  const xmlChar** scope = ctxt->nsTab;
  const size_t count = size_t(ctxt->nsNr);
  std::vector<const xmlChar*>& built = scopes_[entity];
  if (built.size() == count && std::equal(built.begin(), built.end(), scope)) return;
  xmlNodePtr list = entity->children;
  if (list && entity->owner == 1 && list->parent == reinterpret_cast<xmlNodePtr>(entity) && hasElements(list)) {
    xmlFreeNodeList(list);
    entity->children = entity->last = nullptr;
    treeBytes_.erase(entity);
  }
  built.assign(scope, scope + count);
}

xmlEntityPtr XmlEntityGuard::get(xmlParserCtxtPtr ctxt, const xmlChar* name) {
  if (refused_) {
    refuse(ctxt);
    return nullptr;
  }
  // A file found malformed is refused whatever follows: nothing more of it is expanded (an
  // entity's text may repeat a broken reference a million times).
  if (!ctxt->wellFormed || (document_ && !document_->wellFormed)) {
    halt(ctxt);
    return nullptr;
  }
  xmlEntityPtr entity = xmlSAX2GetEntity(ctxt, name);
  const bool inContent = ctxt->instate == XML_PARSER_CONTENT;
  if (!inContent && ctxt->instate != XML_PARSER_ATTRIBUTE_VALUE) return entity;  // a declaration
  settle(ctxt);
  // Each reference's own characters count, one to an undeclared entity too (libxml2 reports
  // each of those, however many times an entity's text repeats them).
  if (!add(ctxt, size_t(xmlStrlen(name)) + 2, false)) return nullptr;
  if (!entity || entity->etype != XML_INTERNAL_GENERAL_ENTITY) return entity;
  // What lands in the document: not a declaration's default value, nor an entity's own text.
  const bool intoDocument = ctxt == document_ && !ctxt->inSubset;
  if (enclosing(entity)) loopSeen_ = true;
  if (inContent) {
    buildInScope(ctxt, entity);
    if (entity->children) return produce(ctxt, treeBytes(entity), true) ? entity : nullptr;
    pending_.push_back({entity, ctxt->depth, intoDocument});
    return entity;
  }
  // In an attribute value the entity's own characters count here, its references when
  // libxml2 resolves them in turn. In an entity's text the start tag counts its values.
  const bool transient = transientDecode(ctxt, entity);
  auto [literal, fresh] = literalBytes_.try_emplace(entity, 0);
  if (fresh) literal->second = decodedOwnBytes(entity->content);
  const size_t bytes = entity->content && entity->content[0] ? literal->second : 0;
  return produce(ctxt, bytes, ctxt == document_ && !transient) ? entity : nullptr;
}

bool XmlEntityGuard::handOver(xmlParserCtxtPtr ctxt, size_t bytes) {
  if (refused_) return refuse(ctxt);
  settle(ctxt);
  return ctxt == document_ || produce(ctxt, bytes, true);
}

bool XmlEntityGuard::startTag(xmlParserCtxtPtr ctxt, int nbNamespaces, const xmlChar** namespaces) {
  if (refused_) return refuse(ctxt);
  settle(ctxt);
  // Each element gets its own copy of the declarations, those a DTD gives by default too.
  size_t bytes = 0;
  for (int i = 0; i < 2 * nbNamespaces; ++i) bytes += xmlTextBytes(namespaces[i]);
  return add(ctxt, bytes, false);
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
    if (refused_) return (void)refuse(ctxt);
    settle(ctxt);
    // In an entity's text the whole tag is built; default attribute values are not.
    size_t bytes = xmlTextBytes(localname);
    for (const xmlChar* n : all) bytes += xmlTextBytes(n);
    for (int i = 0; i < nbAttributes - nbDefaulted; ++i) {
      const xmlChar** a = attributes + 5 * i;
      bytes += xmlTextBytes(a[0]) + size_t(a[4] - a[3]);
    }
    if (!produce(ctxt, bytes, true)) return;
  }
  xmlSAX2StartElementNs(ctxt, localname, prefix, URI, nbAll, all.data(), nbAttributes, nbDefaulted, attributes);
}

bool XmlEntityGuard::finish() {
  settle(nullptr);
  // libxml2 calls its own refusal of amplification (a billion laughs) a loop as well.
  if (!loopSeen_) errors_.restate(XML_ERR_ENTITY_LOOP, refusalLine());
  return !refused_;
}
