// Whole-document parsing with libxml2 under the safe options.
#include "formats/XmlDocument.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <climits>

#include "formats/TextLines.h"
#include "formats/XmlParseOptions.h"

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
  // The context's own structured channel wins over the global one.
  ctxt->sax->serror = [](void* ud, xmlErrorPtr e) {
    auto* c = static_cast<xmlParserCtxtPtr>(ud);
    XmlErrors::structuredHandler(c->_private, e);
  };
  ctxt->_private = &errors;
  ctxt->sax->startElementNs = xmlStartElementDeclaringScope;
  xmlDocPtr doc = xmlCtxtReadMemory(ctxt, text.data(), int(text.size()), nullptr, nullptr, kXmlSafeParseOptions);
  bool wellFormed = ctxt->wellFormed != 0;
  xmlFreeParserCtxt(ctxt);
  if (!doc || !wellFormed || errors.hasFatal()) {
    if (doc) xmlFreeDoc(doc);
    if (!errors.hasError()) errors.addFatal("Document is not well-formed", XML_ERR_DOCUMENT_END);
    return nullptr;
  }
  xmlJoinAdjacentCharData(reinterpret_cast<xmlNode*>(doc));
  std::unique_ptr<XmlDocument> out(new XmlDocument(doc));
  out->errors_ = errors;
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
