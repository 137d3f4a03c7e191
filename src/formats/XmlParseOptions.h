// What every parse shares: the libxml2 options, the refusal of external loads and the
// building of elements that an entity's text holds.
#pragma once
#include <libxml/parser.h>

#include <cstddef>
#include <unordered_map>
#include <vector>

class XmlErrors;

// No network; references to internal entities replaced by their text, as a conforming
// reader gives them; libxml2's size limits and guards against entity amplification kept.
constexpr int kXmlSafeParseOptions = XML_PARSE_NONET | XML_PARSE_NOENT | XML_PARSE_COMPACT | XML_PARSE_NOWARNING;

// Makes libxml2 fail every external load (external entities, external DTD subsets and
// parameter entities): with entities substituted it would otherwise read local files.
// Called before each parse.
void refuseExternalLoads();

// libxml2's tree builder for a start tag. The elements of an entity's text are built apart
// from the document, where the namespaces in scope at the reference are unknown: they
// would end up in a namespace without a name. They declare the ones they use instead, so
// they mean what they would mean standing in the file.
void xmlStartElementDeclaringScope(void* ctx, const xmlChar* localname, const xmlChar* prefix, const xmlChar* URI,
                                   int nbNamespaces, const xmlChar** namespaces, int nbAttributes, int nbDefaulted,
                                   const xmlChar** attributes);

// Every parse asks this for the entities its references name. It bounds the text that
// references produce in a whole document, in element text and attribute values alike:
// libxml2 guards only element text against amplification. It also makes each reference
// build an entity's elements in the namespaces in scope where that reference stands:
// libxml2 builds them once, at the first reference, and copies them at later ones.
class XmlEntityGuard {
public:
  // `inputSize`: the bytes of the file or text parsed; a refusal goes to `errors`.
  XmlEntityGuard(size_t inputSize, XmlErrors& errors);
  // libxml2's getEntity; null, with the parser stopped, for a reference past the bound.
  xmlEntityPtr get(xmlParserCtxtPtr ctxt, const xmlChar* name);

private:
  size_t cost(xmlDocPtr doc, xmlEntityPtr entity, int depth);
  void buildInScope(xmlParserCtxtPtr ctxt, xmlEntityPtr entity);
  size_t limit_;
  size_t used_ = 0;
  XmlErrors& errors_;
  std::unordered_map<xmlEntityPtr, size_t> costs_;
  // The namespaces in scope (libxml2's prefix and name pairs) where each entity's elements were built.
  std::unordered_map<xmlEntityPtr, std::vector<const xmlChar*>> scopes_;
};
