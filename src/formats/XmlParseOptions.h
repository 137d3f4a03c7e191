// The libxml2 options of every parse: no network, no entity substitution, no DTD loading,
// no lifting of the size limits.
#pragma once
#include <libxml/parser.h>

constexpr int kXmlSafeParseOptions = XML_PARSE_NONET | XML_PARSE_COMPACT | XML_PARSE_NOWARNING;
