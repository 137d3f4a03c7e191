// Whole-document parsing with libxml2 under the safe options.
#include "formats/XmlDocument.h"

#include <libxml/SAX2.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <climits>

#include "formats/TextLines.h"
#include "formats/XmlParseOptions.h"

namespace {

// What the callbacks of one parse share, through the context's _private (which the parsers
// of entities' text copy).
struct Shared {
  XmlErrors& errors;
  XmlEntityGuard entities;
};

Shared* sharedOf(void* ctx) { return static_cast<Shared*>(static_cast<xmlParserCtxtPtr>(ctx)->_private); }
XmlEntityGuard& guardOf(void* ctx) { return sharedOf(ctx)->entities; }
xmlParserCtxtPtr parserOf(void* ctx) { return static_cast<xmlParserCtxtPtr>(ctx); }

// libxml2's tree builder, each call weighed by the guard first.
void onStart(void* ctx, const xmlChar* localname, const xmlChar* prefix, const xmlChar* URI, int nbNs,
             const xmlChar** namespaces, int nbAttributes, int nbDefaulted, const xmlChar** attributes) {
  guardOf(ctx).buildStartTag(parserOf(ctx), localname, prefix, URI, nbNs, namespaces, nbAttributes, nbDefaulted,
                             attributes);
}
void onEnd(void* ctx, const xmlChar* localname, const xmlChar* prefix, const xmlChar* URI) {
  guardOf(ctx).endTag();
  xmlSAX2EndElementNs(ctx, localname, prefix, URI);
}
void onCharacters(void* ctx, const xmlChar* ch, int len) {
  if (guardOf(ctx).handOver(parserOf(ctx), size_t(len))) xmlSAX2Characters(ctx, ch, len);
}
void onCData(void* ctx, const xmlChar* ch, int len) {
  if (guardOf(ctx).handOver(parserOf(ctx), size_t(len))) xmlSAX2CDataBlock(ctx, ch, len);
}
void onComment(void* ctx, const xmlChar* value) {
  if (guardOf(ctx).handOver(parserOf(ctx), xmlTextBytes(value))) xmlSAX2Comment(ctx, value);
}
void onPI(void* ctx, const xmlChar* target, const xmlChar* data) {
  if (guardOf(ctx).handOver(parserOf(ctx), xmlTextBytes(target) + xmlTextBytes(data)))
    xmlSAX2ProcessingInstruction(ctx, target, data);
}

}  // namespace

XmlDocument::~XmlDocument() { xmlFreeDoc(doc_); }

std::unique_ptr<XmlDocument> XmlDocument::parse(std::string_view text, XmlErrors& errors) {
  if (text.size() > size_t(INT_MAX)) {
    errors.addFatal("Document too large", XML_ERR_INTERNAL_ERROR);
    return nullptr;
  }
  XmlErrorCapture capture(errors);
  refuseExternalLoads();
  xmlParserCtxtPtr ctxt = xmlNewParserCtxt();
  if (!ctxt) {
    errors.addFatal("Out of memory", XML_ERR_NO_MEMORY);
    return nullptr;
  }
  Shared shared{errors, XmlEntityGuard(text.size(), errors)};
  // The context's own structured channel wins over the global one.
  ctxt->sax->serror = [](void* ud, xmlErrorPtr e) { XmlErrors::structuredHandler(&sharedOf(ud)->errors, e); };
  ctxt->sax->getEntity = [](void* ctx, const xmlChar* name) { return guardOf(ctx).get(parserOf(ctx), name); };
  ctxt->sax->getParameterEntity = [](void* ctx, const xmlChar* name) {
    return guardOf(ctx).getParameter(parserOf(ctx), name);
  };
  ctxt->sax->entityDecl = [](void* ctx, const xmlChar* name, int type, const xmlChar* publicId,
                             const xmlChar* systemId, xmlChar* content) {
    guardOf(ctx).declare(parserOf(ctx), name, type, publicId, systemId, content);
  };
  ctxt->_private = &shared;
  ctxt->sax->startElementNs = onStart;
  ctxt->sax->endElementNs = onEnd;
  ctxt->sax->characters = onCharacters;
  ctxt->sax->ignorableWhitespace = onCharacters;
  ctxt->sax->cdataBlock = onCData;
  ctxt->sax->comment = onComment;
  ctxt->sax->processingInstruction = onPI;
  shared.entities.setDocument(ctxt);
  xmlDocPtr doc = xmlCtxtReadMemory(ctxt, text.data(), int(text.size()), nullptr, nullptr, kXmlSafeParseOptions);
  const bool settled = shared.entities.finish();
  bool wellFormed = ctxt->wellFormed != 0 && settled;
  xmlFreeParserCtxt(ctxt);
  if (!doc || !wellFormed || errors.hasFatal()) {
    if (doc) xmlFreeDoc(doc);
    if (!errors.hasError()) errors.addFatal("Document is not well-formed", XML_ERR_DOCUMENT_END);
    return nullptr;
  }
  xmlJoinAdjacentCharData(reinterpret_cast<xmlNode*>(doc));
  std::unique_ptr<XmlDocument> out(new XmlDocument(doc));
  out->errors_ = errors;
  out->inputSize_ = text.size();
  out->entityTextBytes_ = shared.entities.documentBytes();
  return out;
}

std::unique_ptr<XmlDocument> XmlDocument::parseFile(const std::string& path, XmlErrors& errors) {
  // Read by our own means rather than libxml2's URL loaders: a file name is never taken for
  // a network address.
  std::string text, error;
  if (!readFileText(path, text, error)) {
    errors.addFatal(error, XML_IO_LOAD_ERROR);
    return nullptr;
  }
  return parse(text, errors);
}

XmlNode XmlDocument::documentNode() const { return XmlNode(reinterpret_cast<xmlNode*>(doc_)); }
XmlNode XmlDocument::root() const { return XmlNode(xmlDocGetRootElement(doc_)); }
