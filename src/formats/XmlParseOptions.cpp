// The external-load refusal and the start tags of entity text.
#include "formats/XmlParseOptions.h"

#include <libxml/SAX2.h>
#include <libxml/tree.h>

#include <mutex>
#include <vector>

namespace {

xmlParserInputPtr refuseLoad(const char*, const char*, xmlParserCtxtPtr) { return nullptr; }

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
