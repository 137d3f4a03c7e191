// A text file as its list of lines, for the line-based importers (NMEA logs, NGT tracks).
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "base/FileText.h"

// Splits at CR LF, LF or CR; a line end at the very end adds no empty line; a leading
// UTF-8 byte-order mark is dropped.
std::vector<std::string> splitTextLines(std::string_view text);
// The lines of a file; raises std::runtime_error naming the file when it cannot be read.
std::vector<std::string> readTextLines(const std::string& fileName);
