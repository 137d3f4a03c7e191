// Checks extension text typed by a user before it goes into a document: the writers put it
// between the tags of an `extensions` element as it stands, so a flaw in it would make the
// whole saved file unreadable.
#pragma once
#include <string>
#include <string_view>
#include <vector>

// A namespace declaration in scope: the prefix (empty for the default namespace) and its URI.
struct XmlNamespaceDecl {
  std::string prefix;
  std::string uri;
};

// Parses `text` as the content of an element in whose scope `inScope` is declared: it must be
// well-formed and balanced, use only prefixes declared in itself or in `inScope`, and no
// entity but the predefined ones. Returns libxml2's first complaint; empty when sound.
std::string XmlContentFragmentError(std::string_view text, const std::vector<XmlNamespaceDecl>& inScope);

class TGPX;

// The check for extension text of a GPX document: in the scope of what the GPX writer
// declares on the document's gpx element.
std::string GPXExtensionTextError(std::string_view text, const TGPX& document);
