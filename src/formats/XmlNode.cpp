// Node handle over libxml2: names, lookups, text and serialisation.
#include "formats/XmlNode.h"

#include <libxml/tree.h>

#include <cstring>

#include "base/NumberText.h"
#include "base/Translate.h"
#include "formats/XmlParseOptions.h"

namespace {

// Matches the NUL-terminated `s` against want[pos..] up to its own end; advances pos.
inline bool matchPart(const char* s, std::string_view want, size_t& pos, bool ignoreCase) {
  for (; *s; ++s, ++pos) {
    if (pos >= want.size()) return false;
    if (ignoreCase ? lowerAscii(*s) != lowerAscii(want[pos]) : *s != want[pos]) return false;
  }
  return true;
}

// The name as written, prefix:local, compared with `want` (case ignored or exact).
// Called for every element of a large file, so it walks the strings once, without strlen.
bool qnameMatches(const xmlChar* prefix, const xmlChar* local, std::string_view want, bool ignoreCase) {
  size_t pos = 0;
  if (prefix) {
    if (!matchPart(reinterpret_cast<const char*>(prefix), want, pos, ignoreCase)) return false;
    if (pos >= want.size() || want[pos] != ':') return false;
    ++pos;
  }
  if (!local || !matchPart(reinterpret_cast<const char*>(local), want, pos, ignoreCase)) return false;
  return pos == want.size();
}

const xmlChar* nsPrefix(const xmlNs* ns) { return ns ? ns->prefix : nullptr; }

inline bool isXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool isBlank(const xmlChar* s) {
  if (!s) return true;
  for (; *s; ++s)
    if (!isXmlSpace(char(*s))) return false;
  return true;
}

// 1 preserve, 0 default, -1 when the element sets no xml:space.
int ownSpace(const xmlNode* el) {
  for (const xmlAttr* a = el->properties; a; a = a->next) {
    if (!a->ns || !a->ns->prefix || std::strcmp(reinterpret_cast<const char*>(a->ns->prefix), "xml") != 0)
      continue;
    if (std::strcmp(reinterpret_cast<const char*>(a->name), "space") != 0) continue;
    const xmlNode* v = a->children;
    if (v && v->content) {
      if (std::strcmp(reinterpret_cast<const char*>(v->content), "preserve") == 0) return 1;
      if (std::strcmp(reinterpret_cast<const char*>(v->content), "default") == 0) return 0;
    }
  }
  return -1;
}

// Whether the node lies under xml:space="preserve" (its own setting included).
bool preservedAt(const xmlNode* n) {
  for (; n && n->type != XML_DOCUMENT_NODE; n = n->parent) {
    if (n->type != XML_ELEMENT_NODE || !n->properties) continue;
    int s = ownSpace(n);
    if (s >= 0) return s == 1;
  }
  return false;
}

bool isCharData(const xmlNode* n) { return n->type == XML_TEXT_NODE || n->type == XML_CDATA_SECTION_NODE; }

void appendPiece(std::string& out, const std::string& run, bool preserve) {
  if (preserve) {
    if (run.empty()) return;
    if (!out.empty()) out += ' ';
    out += run;
    return;
  }
  std::string piece = normalizeSpace(run);
  if (piece.empty()) return;
  if (!out.empty()) out += ' ';
  out += piece;
}

void collectText(const xmlNode* parent, bool preserve, std::string& out) {
  std::string run;
  for (const xmlNode* c = parent->children; c; c = c->next) {
    if (isCharData(c)) {
      if (c->content) run += reinterpret_cast<const char*>(c->content);
    } else if (c->type == XML_ELEMENT_NODE) {
      appendPiece(out, run, preserve);
      run.clear();
      int s = c->properties ? ownSpace(c) : -1;
      collectText(c, s >= 0 ? s == 1 : preserve, out);
    }
  }
  appendPiece(out, run, preserve);
}

// A piece is written inside the GPX default namespace: every element of it in no namespace
// where a default namespace other than none would be in force declares xmlns="", else it
// would move into that namespace when the file is read again. `noneInForce` tells whether
// the parent's default namespace is none.
void keepNoNamespace(xmlNode* el, bool noneInForce) {
  bool ownDefault = false;
  for (const xmlNs* ns = el->nsDef; ns; ns = ns->next)
    if (!ns->prefix) {
      noneInForce = !ns->href || !*ns->href;
      ownDefault = true;
    }
  if (!el->ns && !noneInForce && !ownDefault) {
    xmlNewNs(el, reinterpret_cast<const xmlChar*>(""), nullptr);
    noneInForce = true;
  }
  for (xmlNode* c = el->children; c; c = c->next)
    if (c->type == XML_ELEMENT_NODE) keepNoNamespace(c, noneInForce);
}

// A name with an undeclared prefix is kept as it was written. For "xsi" that would not last:
// a saved file's root declares it, so the next read binds the name and the next save would
// differ. Such names are bound here already, so every save of the piece is the same. An
// attribute that would then repeat one the element has is dropped: the file would not read.
void bindUndeclaredXsi(xmlNode* el, xmlNode* root, xmlNs*& xsi) {
  static const xmlChar kXsi[] = "http://www.w3.org/2001/XMLSchema-instance";
  auto undeclared = [](const xmlChar* name, const xmlNs* ns) {
    return !ns && name && xmlStrncmp(name, reinterpret_cast<const xmlChar*>("xsi:"), 4) == 0 && name[4];
  };
  auto space = [&]() {
    if (!xsi) xsi = xmlNewNs(root, kXsi, reinterpret_cast<const xmlChar*>("xsi"));
    return xsi;
  };
  if (undeclared(el->name, el->ns) && space()) {
    const std::string local(reinterpret_cast<const char*>(el->name) + 4);
    xmlNodeSetName(el, reinterpret_cast<const xmlChar*>(local.c_str()));
    xmlSetNs(el, xsi);
  }
  for (xmlAttr* a = el->properties; a;) {
    xmlAttr* next = a->next;
    if (undeclared(a->name, a->ns) && space()) {
      const std::string local(reinterpret_cast<const char*>(a->name) + 4);
      if (xmlHasNsProp(el, reinterpret_cast<const xmlChar*>(local.c_str()), kXsi)) {
        xmlRemoveProp(a);
      } else {
        xmlNodeSetName(reinterpret_cast<xmlNode*>(a), reinterpret_cast<const xmlChar*>(local.c_str()));
        a->ns = xsi;
      }
    }
    a = next;
  }
  for (xmlNode* c = el->children; c; c = c->next)
    if (c->type == XML_ELEMENT_NODE) bindUndeclaredXsi(c, root, xsi);
}

// Drops white-space-only text nodes from a detached copy.
void stripBlanks(xmlNode* n, bool preserve) {
  xmlNode* c = n->children;
  while (c) {
    xmlNode* next = c->next;
    if (c->type == XML_TEXT_NODE && !preserve && isBlank(c->content)) {
      xmlUnlinkNode(c);
      xmlFreeNode(c);
    } else if (c->type == XML_ELEMENT_NODE) {
      int s = c->properties ? ownSpace(c) : -1;
      stripBlanks(c, s >= 0 ? s == 1 : preserve);
    }
    c = next;
  }
}

// A reference the parser kept as it stands: one to an entity the file does not declare
// (it may be declared in an external DTD, which is never read). A saved piece carries it
// as plain text: a bare reference would leave the saved file unreadable.
xmlNode* entityAsText(xmlNode* ref) {
  std::string text = "&";
  text += reinterpret_cast<const char*>(ref->name);
  text += ';';
  return xmlNewDocText(ref->doc, reinterpret_cast<const xmlChar*>(text.c_str()));
}

// The library writes a namespace name back as it holds it, decoded, so a saved file could
// hold a bare "&" or lose a CR to a blank: escaped here, it reads back alike.
void escapeNamespaceNames(xmlNode* el) {
  for (xmlNode* c = el->children; c; c = c->next)
    if (c->type == XML_ELEMENT_NODE) escapeNamespaceNames(c);
  for (xmlNs* ns = el->nsDef; ns; ns = ns->next) {
    if (!ns->href) continue;
    const std::string_view held(reinterpret_cast<const char*>(ns->href));
    std::string escaped;
    for (char c : held) {
      switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '\r': escaped += "&#13;"; break;
        case '\n': escaped += "&#10;"; break;
        case '\t': escaped += "&#9;"; break;
        default: escaped += c;
      }
    }
    if (escaped == held) continue;
    xmlFree(const_cast<xmlChar*>(ns->href));
    ns->href = xmlStrdup(reinterpret_cast<const xmlChar*>(escaped.c_str()));
  }
}

// Replaces the entity references among the children of a node (an element or an
// attribute) by their text; descends into elements.
void replaceEntityRefs(xmlNode* n) {
  for (xmlNode* c = n->children; c;) {
    xmlNode* next = c->next;
    if (c->type == XML_ENTITY_REF_NODE) {
      if (xmlNode* text = entityAsText(c)) {
        xmlReplaceNode(c, text);
        xmlFreeNode(c);
      }
    } else if (c->type == XML_ELEMENT_NODE) {
      for (xmlAttr* a = c->properties; a; a = a->next) replaceEntityRefs(reinterpret_cast<xmlNode*>(a));
      replaceEntityRefs(c);
    }
    c = next;
  }
}

// Each piece counts against the read budget as soon as it is written out.
void dumpNode(xmlNode* node, std::string& out) {
  const size_t before = out.size();
  xmlNode* copy =
      node->type == XML_ENTITY_REF_NODE ? entityAsText(node) : xmlDocCopyNode(node, node->doc, 1);
  if (!copy) return;
  bool preserve = preservedAt(node->type == XML_ELEMENT_NODE ? node : node->parent);
  if (copy->type == XML_TEXT_NODE && !preserve && isBlank(copy->content)) {
    xmlFreeNode(copy);
    return;
  }
  if (copy->type == XML_ELEMENT_NODE) {
    for (xmlAttr* a = copy->properties; a; a = a->next) replaceEntityRefs(reinterpret_cast<xmlNode*>(a));
    replaceEntityRefs(copy);
    // A reference made text beside the file's text is one text with it.
    xmlJoinAdjacentCharData(copy);
    stripBlanks(copy, preserve);
    xmlNs* xsi = nullptr;
    bindUndeclaredXsi(copy, copy, xsi);
    xmlDOMWrapReconcileNamespaces(nullptr, copy, 0);
    keepNoNamespace(copy, false);
    escapeNamespaceNames(copy);
  }
  xmlBufferPtr buf = xmlBufferCreate();
  if (buf) {
    // The library writes other characters than ASCII in attribute values as references
    // when the source file declared no encoding, and as they are otherwise; text always as
    // it is. Written as UTF-8 alike, a piece is the same whatever file it came from.
    xmlDoc* doc = node->doc;
    const xmlChar* declared = doc ? doc->encoding : nullptr;
    if (doc) doc->encoding = reinterpret_cast<const xmlChar*>("UTF-8");
    if (xmlNodeDump(buf, doc, copy, 0, 0) >= 0)
      out.append(reinterpret_cast<const char*>(xmlBufferContent(buf)), size_t(xmlBufferLength(buf)));
    if (doc) doc->encoding = declared;
    xmlBufferFree(buf);
  }
  xmlFreeNode(copy);
  XmlReadBudget::spend(out.size() - before);
}

thread_local XmlReadBudget* activeBudget = nullptr;

std::string spent(std::string text) {
  XmlReadBudget::spend(text.size());
  return text;
}

}  // namespace

XmlReadBudget::Exceeded::Exceeded()
    : std::runtime_error(_("Text read more than ten times the file's size: nothing read")) {}

XmlReadBudget::XmlReadBudget(size_t inputSize) : limit_(xmlAmplificationLimit(inputSize)), previous_(activeBudget) {
  activeBudget = this;
}

XmlReadBudget::~XmlReadBudget() { activeBudget = previous_; }

void XmlReadBudget::spend(size_t bytes) {
  XmlReadBudget* b = activeBudget;
  if (!b) return;
  b->used_ += bytes;
  if (b->used_ > b->limit_) throw Exceeded();
}

bool xmlPreservesSpace(const _xmlNode* node) { return preservedAt(node); }

void xmlJoinAdjacentCharData(_xmlNode* parent) {
  for (xmlNode* c = parent->children; c; c = c->next) {
    while ((c->type == XML_CDATA_SECTION_NODE || c->type == XML_TEXT_NODE) && c->next &&
           c->next->type == c->type) {
      xmlNode* next = c->next;
      xmlNodeAddContent(c, next->content);
      xmlUnlinkNode(next);
      xmlFreeNode(next);
    }
    if (c->type == XML_ELEMENT_NODE) xmlJoinAdjacentCharData(c);
  }
}

std::vector<std::pair<std::string, std::string>> XmlNode::namespaceDeclarations() const {
  std::vector<std::pair<std::string, std::string>> out;
  if (!node_ || node_->type != XML_ELEMENT_NODE) return out;
  for (const xmlNs* ns = node_->nsDef; ns; ns = ns->next)
    out.emplace_back(ns->prefix ? reinterpret_cast<const char*>(ns->prefix) : "",
                     ns->href ? reinterpret_cast<const char*>(ns->href) : "");
  return out;
}

bool xmlQNameIs(const char* prefix, const char* local, std::string_view want, bool ignoreCase) {
  return qnameMatches(reinterpret_cast<const xmlChar*>(prefix), reinterpret_cast<const xmlChar*>(local), want,
                      ignoreCase);
}

std::string normalizeSpace(std::string_view text) {
  // Most texts need no change: return them in one copy.
  bool clean = text.empty() || (!isXmlSpace(text.front()) && !isXmlSpace(text.back()));
  for (size_t i = 0; clean && i < text.size(); ++i)
    if (isXmlSpace(text[i]) && (text[i] != ' ' || isXmlSpace(text[i + 1]))) clean = false;
  if (clean) return std::string(text);
  std::string out;
  out.reserve(text.size());
  bool pendingBlank = false;
  for (char c : text) {
    if (isXmlSpace(c)) {
      pendingBlank = !out.empty();
      continue;
    }
    if (pendingBlank) out += ' ';
    pendingBlank = false;
    out += c;
  }
  return out;
}

XmlNode::Type XmlNode::type() const {
  if (!node_) return Type::None;
  switch (node_->type) {
    case XML_ELEMENT_NODE: return Type::Element;
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE: return Type::Text;
    case XML_COMMENT_NODE: return Type::Comment;
    default: return Type::Other;
  }
}

std::string XmlNode::name() const {
  if (!node_ || !node_->name) return {};
  std::string out;
  if (node_->type == XML_ELEMENT_NODE && node_->ns && node_->ns->prefix) {
    out = reinterpret_cast<const char*>(node_->ns->prefix);
    out += ':';
  }
  out += reinterpret_cast<const char*>(node_->name);
  return out;
}

bool XmlNode::nameIs(std::string_view name) const {
  return node_ && node_->type == XML_ELEMENT_NODE && qnameMatches(nsPrefix(node_->ns), node_->name, name, true);
}

bool XmlNode::nameIsExactly(std::string_view name) const {
  return node_ && node_->type == XML_ELEMENT_NODE && qnameMatches(nsPrefix(node_->ns), node_->name, name, false);
}

std::string XmlNode::namespaceUri() const {
  if (!node_ || node_->type != XML_ELEMENT_NODE || !node_->ns || !node_->ns->href) return {};
  return reinterpret_cast<const char*>(node_->ns->href);
}

XmlNode XmlNode::parent() const {
  if (!node_ || !node_->parent || node_->parent->type == XML_DOCUMENT_NODE) return XmlNode();
  return XmlNode(node_->parent);
}
XmlNode XmlNode::firstChild() const { return XmlNode(node_ ? node_->children : nullptr); }
XmlNode XmlNode::nextSibling() const { return XmlNode(node_ ? node_->next : nullptr); }

std::vector<XmlNode> XmlNode::children() const {
  std::vector<XmlNode> out;
  if (node_)
    for (xmlNode* c = node_->children; c; c = c->next) out.emplace_back(c);
  return out;
}

std::vector<XmlNode> XmlNode::childElements() const {
  std::vector<XmlNode> out;
  if (node_)
    for (xmlNode* c = node_->children; c; c = c->next)
      if (c->type == XML_ELEMENT_NODE) out.emplace_back(c);
  return out;
}

std::vector<XmlNode> XmlNode::childElements(std::string_view name) const {
  std::vector<XmlNode> out;
  if (node_)
    for (xmlNode* c = node_->children; c; c = c->next)
      if (c->type == XML_ELEMENT_NODE && qnameMatches(nsPrefix(c->ns), c->name, name, true)) out.emplace_back(c);
  return out;
}

XmlNode XmlNode::child(std::string_view name) const {
  if (!node_) return XmlNode();
  for (xmlNode* c = node_->last; c; c = c->prev)
    if (c->type == XML_ELEMENT_NODE && qnameMatches(nsPrefix(c->ns), c->name, name, true)) return XmlNode(c);
  return XmlNode();
}

bool XmlNode::hasChildElements() const {
  if (node_)
    for (xmlNode* c = node_->children; c; c = c->next)
      if (c->type == XML_ELEMENT_NODE) return true;
  return false;
}

std::vector<XmlNode> XmlNode::descendants(std::string_view name) const {
  std::vector<XmlNode> out;
  if (!node_) return out;
  // Iterative pre-order walk: deep documents must not exhaust the stack.
  for (xmlNode* n = node_->children; n; n = xmlNextInTree(n, node_))
    if (n->type == XML_ELEMENT_NODE && qnameMatches(nsPrefix(n->ns), n->name, name, true)) out.emplace_back(n);
  return out;
}

bool XmlNode::hasAttributes() const {
  return node_ && node_->type == XML_ELEMENT_NODE && node_->properties != nullptr;
}

std::optional<std::string> XmlNode::attribute(std::string_view name) const {
  if (!node_ || node_->type != XML_ELEMENT_NODE) return std::nullopt;
  for (xmlAttr* a = node_->properties; a; a = a->next) {
    if (!qnameMatches(nsPrefix(a->ns), a->name, name, true)) continue;
    // The parser has replaced the references already; what it could not resolve is no text.
    std::string out;
    for (const xmlNode* v = a->children; v; v = v->next)
      if (v->type == XML_TEXT_NODE && v->content) out += reinterpret_cast<const char*>(v->content);
    return spent(std::move(out));
  }
  return std::nullopt;
}

std::string XmlNode::text() const {
  if (!node_) return {};
  if (isCharData(node_)) {
    std::string run = node_->content ? reinterpret_cast<const char*>(node_->content) : "";
    return spent(preservedAt(node_->parent) ? run : normalizeSpace(run));
  }
  const bool preserve = preservedAt(node_);
  // The common case, an element holding one piece of text, without the run buffer.
  const xmlNode* only = node_->children;
  if (only && !only->next && isCharData(only) && !preserve)
    return spent(normalizeSpace(only->content ? reinterpret_cast<const char*>(only->content) : ""));
  std::string out;
  collectText(node_, preserve, out);
  return spent(std::move(out));
}

std::string XmlNode::childText(std::string_view name) const {
  XmlNode c = child(name);
  return c ? c.text() : std::string();
}

std::string XmlNode::serialize() const {
  std::string out;
  if (node_) dumpNode(node_, out);
  return out;
}

std::string XmlNode::serializeChildren() const {
  std::string out;
  if (node_)
    for (xmlNode* c = node_->children; c; c = c->next) dumpNode(c, out);
  return out;
}
