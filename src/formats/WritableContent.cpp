// Fitting what was read to what a saved file can hold: a light scan of the extension text
// as the writer will put it out, element depth and text lengths as libxml2 counts them.
#include "formats/WritableContent.h"

#include <libxml/parser.h>
#include <libxml/parserInternals.h>

#include <algorithm>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "base/NumberText.h"
#include "formats/GPXText.h"
#include "formats/GPXWriter.h"
#include "formats/ReadIssues.h"

namespace {

// The writer puts a line end and indentation before the end tag of a route's or track's
// extensions element: a text at the end of extension text grows by those few bytes.
constexpr size_t kWriterWhiteSpace = 16;

// A start tag, comment or instruction is read only once it is whole, and libxml2 refuses to
// hold more than 10,000,000 bytes of input waiting: besides the markup, what came after it in
// the last chunk waits too (the readers push 64 KiB at a time).
constexpr size_t kMaxWritableMarkup = XML_MAX_LOOKUP_LIMIT - 2 * (size_t(1) << 16);

// The bytes a character or entity reference at `s[i]` ('&') stands for once read; `i`
// moves past it.
size_t referenceBytes(std::string_view s, size_t& i) {
  const size_t semi = s.find(';', i);
  if (semi == std::string_view::npos || semi - i > 12) {
    ++i;
    return 1;
  }
  const std::string_view ref = s.substr(i + 1, semi - i - 1);
  i = semi + 1;
  if (ref.empty() || ref[0] != '#') return 1;  // the predefined ones: one character each
  const bool hex = ref.size() > 1 && (ref[1] == 'x' || ref[1] == 'X');
  unsigned long code = 0;
  for (char c : ref.substr(hex ? 2 : 1)) {
    const int digit = c >= '0' && c <= '9' ? c - '0' : hex && c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : hex && c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    if (digit < 0 || code > 0x10FFFF) return 4;
    code = code * (hex ? 16 : 10) + unsigned(digit);
  }
  return code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
}

struct Range {
  size_t begin, end;
  bool deep;  // else too long a text
};

// The top-level pieces of `s` (elements, texts between them, comments and the like) that
// would be refused when read back inside `ancestors` elements.
std::vector<Range> unreadablePieces(std::string_view s, int ancestors) {
  const size_t maxText = maxWritableText() - kWriterWhiteSpace;
  const int maxDepth = maxWritableDepth() - ancestors;
  std::vector<Range> bad;
  size_t i = 0, pieceBegin = 0;
  int depth = 0;
  bool tooLong = false, tooDeep = false;
  // A top-level piece ends where the scan is back at depth 0.
  auto endPiece = [&](size_t end) {
    if (depth == 0) {
      if (tooLong || tooDeep) bad.push_back({pieceBegin, end, tooDeep});
      pieceBegin = end;
      tooLong = tooDeep = false;
    }
  };
  // Markup from `i` up to and including `close`; the rest of the text when unclosed.
  auto skipPast = [&](std::string_view close, size_t from) {
    const size_t at = s.find(close, from);
    return at == std::string_view::npos ? s.size() : at + close.size();
  };
  while (i < s.size()) {
    if (s[i] != '<') {
      size_t run = 0;
      while (i < s.size() && s[i] != '<') {
        if (s[i] == '&') {
          run += referenceBytes(s, i);
          continue;
        }
        // A line end is read as one LF.
        if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
        ++run;
        ++i;
      }
      if (run > maxText) tooLong = true;
      endPiece(i);
      continue;
    }
    const std::string_view rest = s.substr(i);
    if (rest.starts_with("<!") || rest.starts_with("<?")) {
      // Comments, character data sections and instructions: read whole, like a start tag.
      const std::string_view close = rest.starts_with("<!--") ? "-->" : rest.starts_with("<![CDATA[") ? "]]>"
                                     : rest.starts_with("<?") ? "?>" : ">";
      const size_t end = skipPast(close, i + 2);
      if (end - i > kMaxWritableMarkup) tooLong = true;
      i = end;
      endPiece(i);
      continue;
    }
    if (rest.starts_with("</")) {
      i = skipPast(">", i);
      if (depth > 0) --depth;
      endPiece(i);
      continue;
    }
    // A start tag: its end is the first '>' outside a quoted attribute value.
    char quote = 0;
    size_t j = i + 1;
    for (; j < s.size(); ++j) {
      if (quote) {
        if (s[j] == quote) quote = 0;
      } else if (s[j] == '"' || s[j] == '\'') {
        quote = s[j];
      } else if (s[j] == '>') {
        break;
      }
    }
    const bool empty = j < s.size() && s[j - 1] == '/';
    if (depth + 1 > maxDepth) tooDeep = true;
    if (j - i >= kMaxWritableMarkup) tooLong = true;
    i = j < s.size() ? j + 1 : s.size();
    if (!empty) ++depth;
    endPiece(i);
  }
  depth = 0;
  endPiece(s.size());
  return bad;
}

}  // namespace

size_t maxWritableText() { return XML_MAX_TEXT_LENGTH; }

int maxWritableDepth() { return int(xmlParserMaxDepth) + 1; }

void fitWritableText(std::string& text, TReadIssues* issues) {
  if (text.size() <= maxWritableText()) return;
  text.clear();
  text.shrink_to_fit();
  if (issues) ++issues->textsTooLong;
}

void fitWritableExtensions(std::string& text, int ancestors, TReadIssues* issues) {
  // Each round leaves out at least one piece; what it leaves may join two texts into one.
  for (std::vector<Range> bad; !(bad = unreadablePieces(text, ancestors)).empty();) {
    std::string kept;
    size_t from = 0;
    for (const Range& r : bad) {
      kept.append(text, from, r.begin - from);
      from = r.end;
    }
    kept.append(text, from);
    text = trim(kept);
    if (issues)
      for (const Range& r : bad) ++(r.deep ? issues->extensionsTooDeep : issues->textsTooLong);
  }
}

namespace {

// The values the writer puts in one start tag: while the tag as written is too long to be read
// back, the longest value is left out. Escaping may make a value up to six times as long.
void fitWritableAttributes(std::initializer_list<std::string*> values, TReadIssues* issues) {
  for (;;) {
    size_t upperBound = 64;  // the element's name, the attribute names, quotes and blanks
    for (const std::string* v : values) upperBound += 6 * v->size();
    if (upperBound < kMaxWritableMarkup) return;
    size_t written = 64;
    std::string* longest = nullptr;
    for (std::string* v : values) {
      std::string escaped;
      appendXMLText(escaped, *v, XmlTextKind::Attribute);
      written += escaped.size();
      if (!longest || v->size() > longest->size()) longest = v;
    }
    if (written < kMaxWritableMarkup) return;
    longest->clear();
    longest->shrink_to_fit();
    if (issues) ++issues->textsTooLong;
  }
}

void fitLink(TGPXLink& link, TReadIssues* issues) {
  fitWritableAttributes({&link.href}, issues);
  fitWritableText(link.text, issues);
  fitWritableText(link.type, issues);
}

// The fields routes and tracks share; their extensions stand inside gpx, the item and
// extensions.
template <class RouteOrTrack>
void fitRouteLike(RouteOrTrack& item, TReadIssues* issues) {
  for (std::string* t : {&item.name, &item.cmt, &item.desc, &item.src, &item.type}) fitWritableText(*t, issues);
  fitLink(item.link, issues);
  fitWritableExtensions(item.extensions, 3, issues);
}

}  // namespace

void fitWritable(TGPXwpt& point, const TGPXwptList& list, TReadIssues* issues) {
  if (!point.HasData()) return;
  TGPXwptData& d = point.edit();
  for (std::string* t : {&d.name, &d.cmt, &d.desc, &d.src, &d.sym, &d.type, &d.fix}) fitWritableText(*t, issues);
  fitLink(d.link, issues);
  // Inside gpx, the point and extensions; a route's and a segment's points one and two
  // levels deeper.
  const int ancestors = list.Kind() == ItemKind::Trkseg ? 5 : list.Kind() == ItemKind::Rte ? 4 : 3;
  fitWritableExtensions(d.extensions, ancestors, issues);
}

void fitWritable(TGPXrte& route, TReadIssues* issues) { fitRouteLike(route, issues); }

void fitWritable(TGPXtrk& track, TReadIssues* issues) {
  fitRouteLike(track, issues);
  for (const auto& seg : track.Items()) fitWritableExtensions(seg->extensions, 4, issues);
}

void fitWritable(TGPXmetadata& m, TReadIssues* issues) {
  for (std::string* t : {&m.name, &m.desc, &m.keywords, &m.author.name, &m.copyright.license})
    fitWritableText(*t, issues);
  fitWritableAttributes({&m.author.email.id, &m.author.email.domain}, issues);
  fitWritableAttributes({&m.copyright.author}, issues);
  fitLink(m.link, issues);
  fitLink(m.author.link, issues);
  fitWritableExtensions(m.extensions, 3, issues);
}

void fitWritableDocumentExtensions(std::string& text, TReadIssues* issues) {
  fitWritableExtensions(text, 2, issues);
}

void fitWritableRootNamespaces(TGPX& gpx, TReadIssues* issues) {
  // Room for a longer creator than the one the document holds now: a save sets its own.
  constexpr size_t kCreatorRoom = 256;
  auto& declared = gpx.RootNamespaces;
  for (std::string tag; !declared.empty(); tag.clear()) {
    TGPXWriter().WriteStartTag(tag, gpx);
    if (tag.size() + kCreatorRoom < kMaxWritableMarkup) return;
    auto written = [](const std::pair<std::string, std::string>& ns) {
      std::string value;
      appendXMLText(value, ns.second, XmlTextKind::Attribute);
      return ns.first.size() + value.size();
    };
    auto longest = std::max_element(declared.begin(), declared.end(),
                                    [&](const auto& a, const auto& b) { return written(a) < written(b); });
    declared.erase(longest);
    if (issues) ++issues->textsTooLong;
  }
}
