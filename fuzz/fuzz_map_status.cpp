// The web map page's status texts: whatever the page reports is either read whole into
// finite values or changes nothing, and a text put into the page's script stays a string.
#include "FuzzOracles.h"
#include "views/MapProtocol.h"

namespace {

// Reads a literal made by scriptStringLiteral back into its text; fails the check on any
// character that could end the string or the script element.
std::string unquote(const std::string& literal) {
  FUZZ_CHECK(literal.size() >= 2 && literal.front() == '"' && literal.back() == '"');
  FUZZ_CHECK(literal.find_first_of("<\n\r") == std::string::npos);
  FUZZ_CHECK(literal.find("\xE2\x80\xA8") == std::string::npos && literal.find("\xE2\x80\xA9") == std::string::npos);
  std::string text;
  for (size_t i = 1; i + 1 < literal.size(); ++i) {
    const char c = literal[i];
    FUZZ_CHECK(c != '"');
    if (c != '\\') {
      text += c;
      continue;
    }
    FUZZ_CHECK(i + 2 < literal.size());
    const std::string_view rest = std::string_view(literal).substr(i + 1);
    if (rest[0] == 'n') text += '\n';
    else if (rest[0] == 'r') text += '\r';
    else if (rest[0] == '"' || rest[0] == '\\') text += rest[0];
    else if (rest.substr(0, 3) == "x3C") text += '<', i += 2;
    else if (rest.substr(0, 5) == "u2028") text += "\xE2\x80\xA8", i += 4;
    else if (rest.substr(0, 5) == "u2029") text += "\xE2\x80\xA9", i += 4;
    else FUZZ_CHECK(!"a known escape");
    ++i;
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = fuzzText(data, size);

  TMapPosition position;
  if (parseMapPosition(afterFirstBlank(text), position)) {
    FUZZ_CHECK(std::isfinite(position.Lat) && std::isfinite(position.Lon));
    TMapPosition again;
    FUZZ_CHECK(parseMapPosition(position.LatText + ", " + position.LonText, again));
    FUZZ_CHECK(again.Lat == position.Lat && again.Lon == position.Lon);
  }

  TBBox box;
  box.MinLat = 1, box.MinLon = 2, box.MaxLat = 3, box.MaxLon = 4;
  if (parseMapBounds(text, box)) {
    FUZZ_CHECK(box.Valid);
    FUZZ_CHECK(std::isfinite(box.MinLat) && std::isfinite(box.MinLon) && std::isfinite(box.MaxLat) &&
               std::isfinite(box.MaxLon));
  } else {
    FUZZ_CHECK(!box.Valid && box.MinLat == 1 && box.MinLon == 2 && box.MaxLat == 3 && box.MaxLon == 4);
  }

  std::string marker = text;
  const int index = cutMarkerIndex(marker);
  FUZZ_CHECK(index >= -1);
  if (text.find('<') == std::string::npos || text.find('>') == std::string::npos)
    FUZZ_CHECK(index == -1 && marker == text);
  else
    FUZZ_CHECK(marker == text.substr(0, text.find('<')));

  FUZZ_CHECK_SAME(unquote(scriptStringLiteral(text)), text, "a script literal reads back as its text");
  return 0;
}
