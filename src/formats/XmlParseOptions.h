// What every parse shares: the libxml2 options, the refusal of external loads and the
// building of elements that an entity's text holds.
#pragma once
#include <libxml/parser.h>

// No network; references to internal entities replaced by their text, as a conforming
// reader gives them; libxml2's size limits and guards against entity amplification kept.
constexpr int kXmlSafeParseOptions = XML_PARSE_NONET | XML_PARSE_NOENT | XML_PARSE_COMPACT | XML_PARSE_NOWARNING;

// Makes libxml2 fail every external load (external entities, external DTD subsets and
// parameter entities): with entities substituted it would otherwise read local files.
// Called before each parse.
void refuseExternalLoads();

// libxml2's tree builder for a start tag. The elements of an entity's text are built apart
// from the document, where the namespaces in scope at the reference are unknown: they
// would end up in a namespace without a name. They declare the ones they use instead, so
// they mean what they would mean standing in the file.
void xmlStartElementDeclaringScope(void* ctx, const xmlChar* localname, const xmlChar* prefix, const xmlChar* URI,
                                   int nbNamespaces, const xmlChar** namespaces, int nbAttributes, int nbDefaulted,
                                   const xmlChar** attributes);
