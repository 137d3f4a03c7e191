// Reading the web map page's status texts.
#include "views/MapProtocol.h"

#include <array>
#include <cstdint>

#include "base/NumberText.h"
#include "views/GPXToGmap.h"

std::string_view afterFirstBlank(std::string_view text) {
  const size_t blank = text.find(' ');
  return blank == std::string_view::npos ? std::string_view() : text.substr(blank + 1);
}

bool parseMapPosition(std::string_view text, TMapPosition& out) {
  const size_t comma = text.find(',');
  if (comma == std::string_view::npos) return false;
  TMapPosition p;
  p.LatText = trim(text.substr(0, comma));
  p.LonText = trim(text.substr(comma + 1));
  if (!parseFloatStrict(p.LatText, p.Lat) || !parseFloatStrict(p.LonText, p.Lon)) return false;
  out = std::move(p);
  return true;
}

bool parseMapBounds(std::string_view text, TBBox& box) {
  box.Valid = false;
  constexpr std::string_view prefix = "Bounds ((";
  if (text.substr(0, prefix.size()) != prefix) return false;
  std::string_view rest = text.substr(prefix.size());
  // south ", " west "), (" north ", " east "))": each number at least one character.
  constexpr std::array<std::string_view, 4> separators = {", ", "), (", ", ", "))"};
  std::array<double, 4> values{};
  for (size_t i = 0; i < separators.size(); ++i) {
    const size_t at = rest.find(separators[i]);
    if (at == std::string_view::npos || at == 0) return false;
    if (!parseFloatStrict(rest.substr(0, at), values[i])) return false;
    rest = rest.substr(at + separators[i].size());
  }
  box.MinLat = values[0];
  box.MinLon = values[1];
  box.MaxLat = values[2];
  box.MaxLon = values[3];
  box.Valid = true;
  return true;
}

void TGMap::ParseBounds(const std::string& text) { parseMapBounds(text, MapBBox); }

int cutMarkerIndex(std::string& text) {
  const size_t open = text.find('<');
  if (open == std::string::npos || text.find('>') == std::string::npos) return -1;
  const size_t close = text.find('>', open + 1);
  const std::string index =
      close == std::string::npos ? std::string() : text.substr(open + 1, close - open - 1);
  text.erase(open);
  int64_t value = -1;
  // A whole number in plain digits: no sign, no blanks, no exponent.
  if (index.empty() || index.find_first_not_of("0123456789") != std::string::npos ||
      !parseIntStrict(index, value) || value > INT32_MAX)
    return -1;
  return static_cast<int>(value);
}

std::string scriptStringLiteral(std::string_view text) {
  std::string out = "\"";
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '<': out += "\\x3C"; break;
      default:
        // U+2028 and U+2029 end a line in older script engines.
        if (c == '\xE2' && i + 2 < text.size() && text[i + 1] == '\x80' &&
            (text[i + 2] == '\xA8' || text[i + 2] == '\xA9')) {
          out += text[i + 2] == '\xA8' ? "\\u2028" : "\\u2029";
          i += 2;
        } else {
          out.push_back(c);
        }
    }
  }
  return out + "\"";
}
