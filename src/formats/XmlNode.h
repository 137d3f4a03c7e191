// A light handle on one node of a libxml2 tree: names as written, children in order,
// attributes and child elements looked up without regard to case, normalised text and
// serialisation. The handle does not own the node.
#pragma once
#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

struct _xmlNode;

class XmlNode {
public:
  enum class Type { None, Element, Text, Comment, Other };  // Text covers CDATA

  XmlNode() = default;
  explicit XmlNode(_xmlNode* node) : node_(node) {}
  explicit operator bool() const { return node_ != nullptr; }
  _xmlNode* raw() const { return node_; }
  bool operator==(const XmlNode& o) const { return node_ == o.node_; }

  Type type() const;
  bool isElement() const { return type() == Type::Element; }
  // The name as written, prefix included ("gpxtpx:hr").
  std::string name() const;
  // Compares the name as written with `name` without regard to ASCII case.
  bool nameIs(std::string_view name) const;
  // Compares the name as written exactly.
  bool nameIsExactly(std::string_view name) const;
  // The element's namespace URI; empty when it has none.
  std::string namespaceUri() const;

  XmlNode parent() const;
  XmlNode firstChild() const;
  XmlNode nextSibling() const;
  std::vector<XmlNode> children() const;
  std::vector<XmlNode> childElements() const;
  // Child elements of a name (case ignored), in document order.
  std::vector<XmlNode> childElements(std::string_view name) const;
  // The last child element of a name (case ignored); a null handle when there is none.
  XmlNode child(std::string_view name) const;
  bool hasChildElements() const;
  // Every element below this node with a name (case ignored), in document order.
  std::vector<XmlNode> descendants(std::string_view name) const;

  bool hasAttributes() const;
  // The namespace declarations on this element, as prefix (empty for the default) and URI
  // (its references decoded as a parser gives them).
  std::vector<std::pair<std::string, std::string>> namespaceDeclarations() const;
  // Attribute by name as written (case ignored); nothing when absent.
  std::optional<std::string> attribute(std::string_view name) const;

  // The text below the node: each run of character data (text and CDATA) trimmed with its
  // inner white space reduced to one blank, white-space-only runs dropped, the runs joined
  // by one blank. Under xml:space="preserve" runs are taken as they are.
  std::string text() const;
  // The text of the last child element of a name; empty when there is none.
  std::string childText(std::string_view name) const;

  // XML text of the node with its subtree; its namespaces are declared on it, so that no
  // prefix is left unbound (an element in no namespace gets xmlns=""), a reference to an
  // entity the file does not declare becomes plain text, and white-space-only text is left
  // out (except under xml:space="preserve"). The piece reads back alike wherever it is written.
  std::string serialize() const;
  // The same for each child node in turn, concatenated.
  std::string serializeChildren() const;

private:
  _xmlNode* node_ = nullptr;
};

// What a reader keeps of one input is bounded as what its entities may produce (ten times
// the input plus 1,000,000 bytes): a namespace name that every piece of extension text
// carries, or a folder's name that every track of a KML folder takes, would otherwise
// multiply the input. While a budget is alive on this thread, XmlNode's texts, attribute
// values and serialisations count what they give, and throw Exceeded past the bound.
class XmlReadBudget {
public:
  struct Exceeded : std::runtime_error {
    Exceeded();  // the translated refusal line
  };
  explicit XmlReadBudget(size_t inputSize);
  ~XmlReadBudget();
  XmlReadBudget(const XmlReadBudget&) = delete;
  XmlReadBudget& operator=(const XmlReadBudget&) = delete;
  // Counts bytes against the budget of this thread, if any.
  static void spend(size_t bytes);

private:
  size_t limit_;
  size_t used_ = 0;
  XmlReadBudget* previous_;
};

// Whether the name as written, prefix:local (prefix may be null), is `want`.
bool xmlQNameIs(const char* prefix, const char* local, std::string_view want, bool ignoreCase = true);

// Whether the node lies under xml:space="preserve": the nearest valid setting, the node's
// own included, decides; a value other than "preserve" or "default" is no setting.
bool xmlPreservesSpace(const _xmlNode* node);

// Adjacent text nodes become one, and adjacent CDATA sections one, in the whole subtree:
// how the parser split them (a long section cut into pieces, an entity's text put beside
// the file's) is no part of what the file says, and both reading paths then give the same.
void xmlJoinAdjacentCharData(_xmlNode* parent);

// Trims and reduces inner runs of blank, TAB, CR and LF to one blank.
std::string normalizeSpace(std::string_view text);
