// A small element met in a stream, held without building a tree: its attributes and its
// child elements, each holding text only. The streaming walk fills one and reuses it.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/XmlNode.h"

// An element or attribute name as the parser reports it; the strings belong to the parser.
struct XmlName {
  const char* prefix = nullptr;  // null when the name has none
  const char* local = nullptr;
  // The name as written (prefix:local) compared without regard to case.
  bool is(std::string_view name) const { return xmlQNameIs(prefix, local, name); }
  bool isExactly(std::string_view name) const { return xmlQNameIs(prefix, local, name, false); }
};

class XmlFlatRecord {
public:
  struct Attribute {
    XmlName name;
    const char* uri = nullptr;
    std::string value;
  };
  // A child element, or (name.local null) character data between the children.
  struct Piece {
    XmlName name;
    const char* uri = nullptr;
    std::string raw;
    bool closed = false;
    bool isElement() const { return name.local != nullptr; }
    bool nameIs(std::string_view n) const { return isElement() && name.is(n); }
    // Normalised like XmlNode::text (a flat record is never under xml:space="preserve").
    std::string text() const { return normalizeSpace(raw); }
  };

  XmlName name;
  const char* uri = nullptr;

  std::optional<std::string> attribute(std::string_view n) const {
    for (size_t i = 0; i < attributeCount_; ++i)
      if (attributes_[i].name.is(n)) return attributes_[i].value;
    return std::nullopt;
  }
  size_t attributeCount() const { return attributeCount_; }
  const Attribute& attributeAt(size_t i) const { return attributes_[i]; }
  size_t pieceCount() const { return pieceCount_; }
  // All character data recorded so far, in bytes.
  size_t textSize() const { return textSize_; }
  const Piece& pieceAt(size_t i) const { return pieces_[i]; }

  // Filling, by the streaming walk. Storage is reused from one record to the next.
  void begin(XmlName n, const char* u) {
    name = n;
    uri = u;
    attributeCount_ = pieceCount_ = textSize_ = 0;
  }
  void addAttribute(XmlName n, const char* u, const char* value, size_t length) {
    Attribute& a = next(attributes_, attributeCount_);
    a.name = n;
    a.uri = u;
    a.value.assign(value, length);
  }
  void openChild(XmlName n, const char* u) {
    Piece& p = next(pieces_, pieceCount_);
    p.name = n;
    p.uri = u;
    p.raw.clear();
    p.closed = false;
  }
  void closeChild() { pieces_[pieceCount_ - 1].closed = true; }
  void addText(const char* text, size_t length) {
    if (pieceCount_ == 0 || pieces_[pieceCount_ - 1].closed) {
      if (pieceCount_ == 0 || pieces_[pieceCount_ - 1].isElement()) {
        Piece& p = next(pieces_, pieceCount_);
        p.name = XmlName();
        p.uri = nullptr;
        p.raw.clear();
        p.closed = true;
      }
    }
    pieces_[pieceCount_ - 1].raw.append(text, length);
    textSize_ += length;
  }

private:
  template <class T>
  static T& next(std::vector<T>& v, size_t& count) {
    if (count == v.size()) v.emplace_back();
    return v[count++];
  }
  std::vector<Attribute> attributes_;
  std::vector<Piece> pieces_;
  size_t attributeCount_ = 0, pieceCount_ = 0, textSize_ = 0;
};
