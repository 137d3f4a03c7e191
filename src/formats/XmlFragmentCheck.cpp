// Content fragments parsed in the context of a made-up element that declares the namespaces
// in scope, exactly as the fragment will stand once written.
#include "formats/XmlFragmentCheck.h"

#include <climits>
#include <memory>

#include <libxml/parser.h>
#include <libxml/tree.h>

#include "formats/GPXWriter.h"
#include "formats/XmlErrors.h"
#include "formats/XmlParseOptions.h"

namespace {

const xmlChar* xc(const std::string& s) { return reinterpret_cast<const xmlChar*>(s.c_str()); }

struct DocFree {
  void operator()(xmlDoc* d) const { xmlFreeDoc(d); }
};

}  // namespace

std::string XmlContentFragmentError(std::string_view text, const std::vector<XmlNamespaceDecl>& inScope) {
  if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) return {};
  if (text.size() > INT_MAX) return "Text too long";
  std::unique_ptr<xmlDoc, DocFree> doc(xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0")));
  xmlNode* root = xmlNewDocNode(doc.get(), nullptr, reinterpret_cast<const xmlChar*>("gpx"), nullptr);
  xmlDocSetRootElement(doc.get(), root);
  for (const XmlNamespaceDecl& ns : inScope) {
    xmlNs* made = xmlNewNs(root, xc(ns.uri), ns.prefix.empty() ? nullptr : xc(ns.prefix));
    if (made && ns.prefix.empty()) xmlSetNs(root, made);
  }
  xmlNode* context = xmlNewChild(root, root->ns, reinterpret_cast<const xmlChar*>("extensions"), nullptr);

  XmlErrors errors;
  xmlNode* parsed = nullptr;
  xmlParserErrors result;
  {
    const XmlErrorCapture capture(errors);
    refuseExternalLoads();
    result = xmlParseInNodeContext(context, text.data(), static_cast<int>(text.size()),
                                   kXmlSafeParseOptions, &parsed);
  }
  if (parsed) xmlFreeNodeList(parsed);
  // An undeclared prefix is only an error, not a fatal one, to libxml2: the text would still
  // make a file that namespace-aware readers refuse.
  if (result == XML_ERR_OK && !errors.hasError()) return {};
  for (const XmlErrorEntry& e : errors.entries())
    if (e.level >= XML_ERR_ERROR) return e.message;
  return "Unknown XML error";
}

std::string GPXExtensionTextError(std::string_view text, const TGPX& document) {
  return XmlContentFragmentError(text, TGPXWriter::RootNamespaces(document));
}
