// The text forms of GPX output: escaping of user text, numbers and times as GPX writes them.
#pragma once
#include <string>
#include <string_view>

enum class XmlTextKind {
  Element,    // & < > escaped
  Attribute,  // & < > and " escaped (values are written between double quotes), TAB, LF, CR as references
  Raw,        // extension XML kept as it is
};

// Appends text for an XML file. In every kind, control characters other than TAB, LF and
// CR are dropped and bytes that are not UTF-8 become U+FFFD: either would make the file
// unreadable for every XML parser.
void appendXMLText(std::string& out, std::string_view text, XmlTextKind kind);

// Element text: "&" -> "&amp;", "<" -> "&lt;", ">" -> "&gt;"; quotes stay.
std::string XMLise(std::string_view text);

// A number as GPX writes it: 15 significant digits, '.' separator, shortest form, always
// plain decimal notation (1E-5 is written 0.00001): the GPX schema's decimal types have no
// exponent form, so a point a few metres from the equator would make the file invalid.
void appendGPXNumber(std::string& out, double value);
std::string formatGPXNumber(double value);

// The date-time's own fields, rounded to the millisecond, as YYYY-MM-DDTHH:NN:SSZ, or
// YYYY-MM-DDTHH:NN:SS.mmmZ when the milliseconds are not 0.
void appendGPXTime(std::string& out, double dateTime);
std::string DateTimeToGPXTime(double dateTime);
