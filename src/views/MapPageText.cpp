// Texts the map page builds from data: numbers, colours and the waypoints' information windows.
// User text ends up inside HTML that sits inside a single-quoted script string, so it is
// escaped for both.
#include <string_view>

#include "base/NumberText.h"
#include "views/GPXToGmap.h"

std::string pageNumberText(double value) {
  // The page keeps 1E-5 .. 1E-4 plain, where the general form already turns to an exponent.
  return formatGeneralPlainTo1E5(value);
}

std::string validMapColor(const std::string& text, const std::string& fallback) {
  if (text.size() != 6) return fallback;
  for (char c : text)
    if (hexDigitValue(c) < 0) return fallback;
  return text;
}

std::string tileServerAddress(const std::string& templates) {
  const std::string_view all = trimView(templates);
  const size_t blank = all.find_last_of(' ');
  std::string_view last = blank == std::string_view::npos ? all : all.substr(blank + 1);
  const size_t scheme = last.find("://");
  const size_t path = last.find('/', scheme == std::string_view::npos ? 0 : scheme + 3);
  return std::string(last.substr(0, path));
}

namespace {

// Writes & < > as entities, '"' as `quote`, and each line break (CR LF, CR, LF, U+2028,
// U+2029) as `lineBreak`: a raw line terminator would end the script string.
std::string escapeUserText(std::string_view s, std::string_view quote, std::string_view lineBreak) {
  std::string out;
  out.reserve(s.size() + 16);
  for (size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += quote; break;
      case '\r':
        out += lineBreak;
        if (i + 1 < s.size() && s[i + 1] == '\n') ++i;
        break;
      case '\n': out += lineBreak; break;
      default:
        // U+2028 and U+2029 end a line in older script engines.
        if (c == '\xE2' && i + 2 < s.size() && s[i + 1] == '\x80' && (s[i + 2] == '\xA8' || s[i + 2] == '\xA9')) {
          out += lineBreak;
          i += 2;
        } else {
          out.push_back(c);
        }
    }
  }
  return out;
}

// Only these schemes become links: anything else (javascript:, data:, a relative path) could
// run script or open a local file from the information window.
bool isSafeLinkAddress(const std::string& href) {
  const std::string lower = toLowerAscii(href.substr(0, 7));
  for (std::string_view scheme : {"http:", "https:", "ftp:", "mailto:"})
    if (lower.compare(0, scheme.size(), scheme) == 0) return true;
  return false;
}

}  // namespace

std::string waypointInfoHtml(const TGPXwpt& w) {
  const TGPXwptData& d = w.data();
  std::string h = "<DIV CLASS=\"BCoord\">" + w.LatLonToStr() + "</DIV>";
  h += "<DIV CLASS=\"BName\">" + escapeUserText(d.name, " ", " ") + "</DIV>";
  if (!d.desc.empty()) h += "<P>" + escapeUserText(d.desc, " ", "<BR/>") + "</P>";
  if (!d.cmt.empty()) h += "<P>" + escapeUserText(d.cmt, " ", "<BR/>") + "</P>";
  if (d.link.Present && d.link.href.size() > 4 && isSafeLinkAddress(d.link.href)) {
    // A line break inside an address means nothing to a browser: it is dropped.
    const std::string href = escapeUserText(d.link.href, "&quot;", "");
    std::string a = "<A HREF=\"" + href + "\" TARGET=\"_BLANK\"";
    if (!d.link.text.empty()) {
      const std::string text = escapeUserText(d.link.text, "&quot;", "<BR/>");
      a += " ALT=\"" + text + "\">" + text + "</A>";
    } else {
      a += ">" + href + "</A>";
    }
    h += "<P>" + a + "</P>";
  }
  std::string out;
  out.reserve(h.size() + 16);
  for (char c : h) {
    if (c == '\\')
      out += "\\\\";
    else
      out.push_back(c == '\'' ? ' ' : c);
  }
  return out + "&nbsp;<BR/>";
}
