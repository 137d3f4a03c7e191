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

size_t length(const xmlChar* s) { return s ? size_t(xmlStrlen(s)) : 0; }

// The size of built nodes as a tree holds them: texts, comments and instructions, names,
// namespace declarations and attribute values.
size_t nodeListBytes(const xmlNode* n) {
  size_t total = 0;
  for (; n; n = n->next) {
    switch (n->type) {
      case XML_ELEMENT_NODE:
        total += length(n->name) + nodeListBytes(n->children);
        for (const xmlNs* ns = n->nsDef; ns; ns = ns->next) total += length(ns->prefix) + length(ns->href);
        for (const xmlAttr* a = n->properties; a; a = a->next) total += length(a->name) + nodeListBytes(a->children);
        break;
      case XML_TEXT_NODE:
      case XML_CDATA_SECTION_NODE:
      case XML_COMMENT_NODE: total += length(n->content); break;
      case XML_PI_NODE: total += length(n->name) + length(n->content); break;
      default: break;
    }
  }
  return total;
}

bool isNameStart(xmlChar c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':' || c >= 0x80; }
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
        const int digit = *p >= '0' && *p <= '9' ? *p - '0' : hex && (*p | 0x20) >= 'a' && (*p | 0x20) <= 'f' ? (*p | 0x20) - 'a' + 10 : -1;
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

void xmlStartElementDeclaringScope(void* ctx, const xmlChar* localname, const xmlChar* prefix, const xmlChar* URI,
                                   int nbNamespaces, const xmlChar** namespaces, int nbAttributes, int nbDefaulted,
                                   const xmlChar** attributes) {
  auto ctxt = static_cast<xmlParserCtxtPtr>(ctx);
  // A prefix needs declaring here when the parser knows its name but neither this tag nor
  // the tree built so far declares it so.
  auto undeclared = [&](const xmlChar* p, const xmlChar* uri, const std::vector<const xmlChar*>& added) {
    if (!uri || xmlStrEqual(p, reinterpret_cast<const xmlChar*>("xml"))) return false;
    for (int i = 0; i < nbNamespaces; ++i)
      if (namespaces[2 * i] == p || xmlStrEqual(namespaces[2 * i], p)) return false;
    for (size_t i = 0; i < added.size(); i += 2)
      if (added[i] == p || xmlStrEqual(added[i], p)) return false;
    const xmlNs* in = xmlSearchNs(ctxt->myDoc, ctxt->node, p);
    return !in || !xmlStrEqual(in->href, uri);
  };
  std::vector<const xmlChar*> added;
  if (undeclared(prefix, URI, added)) added.insert(added.end(), {prefix, URI});
  for (int i = 0; i < nbAttributes; ++i) {
    const xmlChar** a = attributes + 5 * i;
    if (a[1] && undeclared(a[1], a[2], added)) added.insert(added.end(), {a[1], a[2]});
  }
  if (added.empty())
    return xmlSAX2StartElementNs(ctx, localname, prefix, URI, nbNamespaces, namespaces, nbAttributes, nbDefaulted,
                                 attributes);
  std::vector<const xmlChar*> all(namespaces, namespaces + 2 * nbNamespaces);
  all.insert(all.end(), added.begin(), added.end());
  xmlSAX2StartElementNs(ctx, localname, prefix, URI, int(all.size() / 2), all.data(), nbAttributes, nbDefaulted,
                        attributes);
}

XmlEntityGuard::XmlEntityGuard(size_t inputSize, XmlErrors& errors)
    : limit_(xmlAmplificationLimit(inputSize)), errors_(errors) {}

bool XmlEntityGuard::refuse(xmlParserCtxtPtr ctxt) {
  if (!refused_) errors_.addRefusal(refusalLine());
  refused_ = true;
  if (ctxt) xmlStopParser(ctxt);
  // An entity's text is parsed by a parser of its own: the document's must stop too.
  if (document_ && document_ != ctxt) xmlStopParser(document_);
  return false;
}

bool XmlEntityGuard::add(xmlParserCtxtPtr ctxt, size_t bytes, bool intoDocument) {
  used_ = addBounded(used_, bytes);
  if (intoDocument) document_bytes_ = addBounded(document_bytes_, bytes);
  return used_ <= limit_ || refuse(ctxt);
}

size_t XmlEntityGuard::treeBytes(xmlEntityPtr entity) {
  auto [at, fresh] = treeBytes_.try_emplace(entity, 0);
  if (fresh) at->second = nodeListBytes(entity->children);
  return at->second;
}

// Once libxml2 is back at the depth of a reference whose entity it had to build, the
// elements are built and copied where the reference stands: that copy is counted now.
bool XmlEntityGuard::settle(int depth) {
  bool ok = true;
  for (size_t i = 0; i < pending_.size();) {
    const Pending p = pending_[i];
    if (depth >= 0 && p.depth < depth) {
      ++i;
      continue;
    }
    pending_.erase(pending_.begin() + std::ptrdiff_t(i));
    treeBytes_.erase(p.entity);
    if (ok && p.entity->children) ok = add(nullptr, treeBytes(p.entity), p.intoDocument);
  }
  return ok && !refused_;
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
// stops at its depth limit. The builds still pending are those further up once settled.
bool XmlEntityGuard::enclosing(xmlParserCtxtPtr ctxt, xmlEntityPtr entity) {
  while (!decoding_.empty() && (decoding_.back().ctxt != ctxt || decoding_.back().depth >= ctxt->depth))
    decoding_.pop_back();
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
  xmlEntityPtr entity = xmlSAX2GetEntity(ctxt, name);
  if (!entity || entity->etype != XML_INTERNAL_GENERAL_ENTITY) return entity;
  const bool inContent = ctxt->instate == XML_PARSER_CONTENT;
  if (!inContent && ctxt->instate != XML_PARSER_ATTRIBUTE_VALUE) return entity;  // a declaration
  if (!settle(ctxt->depth)) {
    refuse(ctxt);
    return nullptr;
  }
  // What lands in the document: not a declaration's default value, nor an entity's own text.
  const bool intoDocument = ctxt == document_ && !ctxt->inSubset;
  if (enclosing(ctxt, entity)) loopSeen_ = true;
  if (!add(ctxt, size_t(xmlStrlen(name)) + 2, false)) return nullptr;
  if (inContent) {
    buildInScope(ctxt, entity);
    if (!entity->children) {
      pending_.push_back({entity, ctxt->depth, intoDocument});
      return entity;
    }
    return add(ctxt, treeBytes(entity), intoDocument) ? entity : nullptr;
  }
  // In an attribute value the entity's own characters count here; its references count
  // when libxml2 resolves them in turn.
  const bool transient = transientDecode(ctxt, entity);
  auto [literal, fresh] = literalBytes_.try_emplace(entity, 0);
  if (fresh) literal->second = decodedOwnBytes(entity->content);
  const size_t bytes = entity->content && entity->content[0] ? literal->second : 0;
  return add(ctxt, bytes, intoDocument && !transient) ? entity : nullptr;
}

bool XmlEntityGuard::handOver(xmlParserCtxtPtr ctxt, size_t bytes) {
  if (refused_ || !settle(ctxt->depth)) return refuse(ctxt);
  return ctxt == document_ || add(ctxt, bytes, false);
}

bool XmlEntityGuard::startTag(xmlParserCtxtPtr ctxt, const xmlChar* localname, int nbNamespaces,
                              const xmlChar** namespaces, int nbAttributes, int nbDefaulted,
                              const xmlChar** attributes) {
  if (refused_ || !settle(ctxt->depth)) return refuse(ctxt);
  // Declarations and default values are copied into each element that gets them; in an
  // entity's text the whole tag is built.
  const bool built = ctxt != document_;
  size_t bytes = built ? size_t(xmlStrlen(localname)) : 0;
  for (int i = 0; i < 2 * nbNamespaces; ++i) bytes += size_t(xmlStrlen(namespaces[i]));
  for (int i = built ? 0 : nbAttributes - nbDefaulted; i < nbAttributes; ++i) {
    const xmlChar** a = attributes + 5 * i;
    bytes += size_t(xmlStrlen(a[0])) + size_t(a[4] - a[3]);
  }
  return add(ctxt, bytes, false);
}

bool XmlEntityGuard::finish() {
  const bool ok = settle(-1);
  // libxml2 calls its own refusal of amplification (a billion laughs) a loop as well.
  if (!loopSeen_) errors_.restate(XML_ERR_ENTITY_LOOP, refusalLine());
  return ok;
}
