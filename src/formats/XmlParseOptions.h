// What every parse shares: the libxml2 options, the refusal of external loads, the building
// of elements that an entity's text holds and the bound on what references produce.
#pragma once
#include <libxml/parser.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

class XmlErrors;

// No network; references to internal entities replaced by their text, as a conforming
// reader gives them; libxml2's size limits and guards against entity amplification kept.
constexpr int kXmlSafeParseOptions = XML_PARSE_NONET | XML_PARSE_NOENT | XML_PARSE_COMPACT | XML_PARSE_NOWARNING;

// The bytes of a text libxml2 hands over; 0 for none.
inline size_t xmlTextBytes(const xmlChar* s) { return s ? size_t(xmlStrlen(s)) : 0; }

// The node after `n` in document order among the descendants of `top`, null past the last:
// a walk without recursion, for trees that entities nest deep.
template <class Node>
Node* xmlNextInTree(Node* n, const xmlNode* top) {
  if (n->type == XML_ELEMENT_NODE && n->children) return n->children;
  while (!n->next) {
    n = n->parent;
    if (!n || n == top) return nullptr;
  }
  return n->next;
}

// The most that references may produce, and that a reader may keep, from an input of
// `inputSize` bytes: ten times the input plus 1,000,000 bytes, as newer libxml2 releases
// bound amplification.
size_t xmlAmplificationLimit(size_t inputSize);

// Makes libxml2 fail every external load (external entities, external DTD subsets and
// parameter entities): with entities substituted it would otherwise read local files.
// Called before each parse.
void refuseExternalLoads();

// Bounds, across one document, what entity references really produce, measured as libxml2
// produces it (libxml2 bounds only element text, and loosely): what an entity's text builds
// when parsed, counted once for the entity and once for each copy that the references being
// expanded around it will make; each copy of built elements put where a reference stands;
// the values that references give attributes; the text each parameter-entity reference puts
// into the internal subset or into a declared value; and each reference's own characters (so
// that a billion references to an empty entity are not free). Namespace declarations count
// each time a start tag gets them. Every parse routes its callbacks through this; past the
// bound the parse fails with one refusal line.
// It also makes each reference build an entity's elements in the namespaces in scope where
// that reference stands: libxml2 builds them once, at the first reference, and copies them at
// later ones.
class XmlEntityGuard {
public:
  // `inputSize`: the bytes of the file or text parsed; a refusal goes to `errors`.
  XmlEntityGuard(size_t inputSize, XmlErrors& errors);
  ~XmlEntityGuard();
  XmlEntityGuard(const XmlEntityGuard&) = delete;
  XmlEntityGuard& operator=(const XmlEntityGuard&) = delete;
  // The document's own parser; entities' text is parsed by others that share its callbacks.
  void setDocument(xmlParserCtxtPtr ctxt) { document_ = ctxt; }
  bool isDocument(const void* ctxt) const { return ctxt == document_; }

  // libxml2's getEntity and getParameterEntity. Past the bound, or once the file is found
  // malformed, they hand back an entity that produces nothing and fail the parse, which goes
  // on to its end without building anything: libxml2 may be inside an entity's text here,
  // where stopping it would free what it still reads.
  xmlEntityPtr get(xmlParserCtxtPtr ctxt, const xmlChar* name);
  xmlEntityPtr getParameter(xmlParserCtxtPtr ctxt, const xmlChar* name);
  // libxml2's entityDecl: libxml2 looks the declared entity up once more after its '>', to
  // keep its literal text; that lookup is no reference. Only that one goes uncounted: the next
  // lookup, of the same name and kind, by the same parser, standing just past a '>'.
  void declare(xmlParserCtxtPtr ctxt, const xmlChar* name, int type, const xmlChar* publicId,
               const xmlChar* systemId, xmlChar* content);
  // Character data, a comment or an instruction of `bytes` about to be handed to the tree
  // builder. False, with the parse stopped, past the bound: the caller then drops it.
  bool handOver(xmlParserCtxtPtr ctxt, size_t bytes);
  // The same for a start tag of the document that the caller builds or reads itself, with
  // libxml2's arguments.
  bool startTag(xmlParserCtxtPtr ctxt, int nbNamespaces, const xmlChar** namespaces);
  // Every end tag, the document's and those of entities' text.
  void endTag();
  // libxml2's tree builder for a start tag, weighed first. The elements of an entity's text
  // are built apart from the document, where the namespaces in scope at the reference are
  // unknown: they would end up in a namespace without a name. They declare the ones they use
  // instead, so they mean what they would mean standing in the file.
  void buildStartTag(xmlParserCtxtPtr ctxt, const xmlChar* localname, const xmlChar* prefix, const xmlChar* URI,
                     int nbNamespaces, const xmlChar** namespaces, int nbAttributes, int nbDefaulted,
                     const xmlChar** attributes);
  // After the parse, whatever its outcome: false when it was refused. libxml2's own refusal
  // of amplification, which it calls a loop, becomes the same refusal line unless the file
  // does hold a loop.
  bool finish();

  // The bytes that references put into the document itself, measured as a tree's texts,
  // names and values.
  size_t documentBytes() const { return document_bytes_; }

private:
  struct Pending {
    xmlEntityPtr entity;
    int depth;
    bool intoDocument;
    uint64_t since;  // the first namespace declaration made within its text
  };
  struct Decoding {
    xmlEntityPtr entity;
    int depth;
    xmlParserCtxtPtr ctxt;
  };
  struct Binding {
    const xmlChar* uri;
    uint64_t serial;
  };
  struct Empty;
  bool add(size_t bytes);
  void openScope(int nbNamespaces, const xmlChar** namespaces);
  bool produce(xmlParserCtxtPtr ctxt, size_t bytes, bool mayLand);
  bool stop(xmlParserCtxtPtr ctxt);
  xmlEntityPtr fail(xmlParserCtxtPtr ctxt, int etype);
  bool failed(xmlParserCtxtPtr ctxt) const;
  bool lookupOfDeclared(xmlParserCtxtPtr ctxt, const xmlChar* name, bool parameter);
  void settle(xmlParserCtxtPtr ctxt);
  size_t treeBytes(xmlEntityPtr entity);
  bool transientDecode(xmlParserCtxtPtr ctxt, xmlEntityPtr entity);
  bool enclosing(xmlEntityPtr entity) const;
  const xmlChar* boundTo(const xmlChar* prefix, uint64_t* serial) const;
  void noteUse(const xmlChar* prefix);
  void buildInScope(xmlEntityPtr entity);

  size_t limit_;
  size_t used_ = 0;
  size_t document_bytes_ = 0;
  bool refused_ = false;
  bool loopSeen_ = false;
  XmlErrors& errors_;
  xmlParserCtxtPtr document_ = nullptr;
  // The declaration whose own lookup is still to come; cleared by any lookup.
  struct Declared {
    const xmlChar* name = nullptr;
    bool parameter = false;
    xmlParserCtxtPtr ctxt = nullptr;
  } declared_;
  // Entities whose text is being built at a reference, outermost first: each will copy what
  // is built meanwhile once more where its reference stands.
  std::vector<Pending> pending_;
  // The references an attribute value or a declared value is being decoded through, innermost last.
  std::vector<Decoding> decoding_;
  std::unordered_map<xmlEntityPtr, size_t> treeBytes_, literalBytes_;
  // The namespaces in scope, as the start tags so far declared them: each prefix's bindings,
  // innermost last, and each open element's prefixes.
  std::unordered_map<const xmlChar*, std::vector<Binding>> bindings_;
  std::vector<const xmlChar*> openPrefixes_;
  std::vector<uint32_t> openCounts_;
  uint64_t serial_ = 0;
  // For each entity whose elements are built, the prefixes they use from outside its text and
  // what each meant there (null: nothing). Entities without elements have none.
  std::unordered_map<xmlEntityPtr, std::unordered_map<const xmlChar*, const xmlChar*>> usedFromScope_;
  std::unique_ptr<Empty> empty_[2];
};
