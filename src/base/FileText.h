// A whole file read into memory, and files opened so that a pipe in their place never waits.
#pragma once
#include <sys/stat.h>

#include <cstdio>
#include <string>

// Opens a file for reading without ever waiting in open(): a pipe without a writer, or a
// device, would hold the program before it could tell that this is no file. Gives the
// descriptor of a regular file or a folder, with its status in `st`. Otherwise -1: errno
// says why, unless the name is there but is something else (a pipe, socket or device), which
// `st.st_mode` then tells (it stays 0 when nothing was found).
int openFileToRead(const std::string& fileName, struct stat& st);

// The whole content of a file; false, with a message naming the file and the reason, when it
// cannot be read (a folder or a device cannot: only regular files are read).
bool readFileText(const std::string& fileName, std::string& text, std::string& error);

// As readFileText, where nothing at the name (no file, a dangling link, a path through a file)
// is no error: `found` is then false and the text empty. A file that is there but cannot be
// read still fails, so that nothing built from nothing is written over it.
bool readFileTextIfThere(const std::string& fileName, std::string& text, std::string& error, bool& found);

// Creates or empties a regular file for writing, as fopen's "wb" does, without ever waiting in
// open(): anything else in its place (a pipe, a device) gives null with errno set.
std::FILE* createFileToWrite(const std::string& fileName);
