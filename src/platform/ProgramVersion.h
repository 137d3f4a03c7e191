// The program's version text and the long form of file names.
#pragma once
#include <string>

// Four-part version of this build ("0.1.0.0"), never empty.
std::string GetFileVersionString();

// The full path of an existing file, made absolute and normalised where that names the same
// file; other paths unchanged.
// There are no short 8.3 names here, so this is all the "long form" can mean.
std::string GetLongFileName(const std::string& path);
