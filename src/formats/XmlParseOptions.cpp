// The external-load refusal and the start tags of entity text.
#include "formats/XmlParseOptions.h"

#include <libxml/SAX2.h>
#include <libxml/entities.h>
#include <libxml/tree.h>

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "formats/XmlErrors.h"

namespace {

xmlParserInputPtr refuseLoad(const char*, const char*, xmlParserCtxtPtr) { return nullptr; }

// The bound on what references produce: ten times the input plus a fixed allowance, as
// newer libxml2 releases bound it (a few times what was read plus 1,000,000 bytes).
constexpr size_t kExpansionFactor = 10;
constexpr size_t kExpansionAllowance = 1000000;
// libxml2 refuses entities nested deeper than 40; a deeper chain is past the bound at once.
constexpr int kEntityDepth = 64;
constexpr size_t kUnbounded = SIZE_MAX;

size_t addBounded(size_t a, size_t b) { return a > kUnbounded - b ? kUnbounded : a + b; }

bool hasElements(const xmlNode* list) {
  for (; list; list = list->next)
    if (list->type == XML_ELEMENT_NODE) return true;
  return false;
}

}  // namespace

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
    : limit_(addBounded(inputSize > kUnbounded / kExpansionFactor ? kUnbounded : inputSize * kExpansionFactor,
                        kExpansionAllowance)),
      errors_(errors) {}

// What one reference to an entity produces: its text, each reference in that text counting
// its own characters too (so that references to empty entities are not free) and what it
// produces in turn. A loop is unbounded.
size_t XmlEntityGuard::cost(xmlDocPtr doc, xmlEntityPtr entity, int depth) {
  if (entity->etype != XML_INTERNAL_GENERAL_ENTITY || !entity->content) return 0;
  auto [known, fresh] = costs_.try_emplace(entity, kUnbounded);
  if (!fresh || depth > kEntityDepth) return known->second;
  size_t total = size_t(entity->length);
  for (const xmlChar* p = entity->content; (p = xmlStrchr(p, '&'));) {
    const xmlChar* end = xmlStrchr(p, ';');
    if (!end) break;
    if (p[1] != '#') {
      const std::string name(reinterpret_cast<const char*>(p + 1), size_t(end - p - 1));
      if (xmlEntityPtr inner = xmlGetDocEntity(doc, reinterpret_cast<const xmlChar*>(name.c_str())))
        total = addBounded(total, cost(doc, inner, depth + 1));
    }
    p = end + 1;
  }
  costs_[entity] = total;
  return total;
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
  }
  built.assign(scope, scope + count);
}

xmlEntityPtr XmlEntityGuard::get(xmlParserCtxtPtr ctxt, const xmlChar* name) {
  xmlEntityPtr entity = xmlSAX2GetEntity(ctxt, name);
  if (!entity || entity->etype != XML_INTERNAL_GENERAL_ENTITY) return entity;
  const bool inContent = ctxt->instate == XML_PARSER_CONTENT;
  if (!inContent && ctxt->instate != XML_PARSER_ATTRIBUTE_VALUE) return entity;  // a declaration
  // A reference in the document itself (libxml2 counts depth in entities) counts all that
  // it produces, nested references included.
  if (ctxt->depth == 0) {
    used_ = addBounded(used_, cost(ctxt->myDoc, entity, 0));
    if (used_ > limit_) {
      errors_.addFatal("Detected an entity reference loop", XML_ERR_ENTITY_LOOP);
      xmlStopParser(ctxt);
      return nullptr;
    }
  }
  if (inContent) buildInScope(ctxt, entity);
  return entity;
}
