// A whole file read into memory.
#pragma once
#include <string>

// The whole content of a file; false, with a message naming the file and the reason, when it
// cannot be read (a folder or a device cannot: only regular files are read).
bool readFileText(const std::string& fileName, std::string& text, std::string& error);
