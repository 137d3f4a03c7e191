// Small helpers the format tests share: whole files, shell commands, NMEA sentences.
#pragma once
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

inline std::string readWholeFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void writeWholeFile(const std::string& name, const std::string& text) {
  std::ofstream out(name, std::ios::binary | std::ios::trunc);
  out << text;
}

inline bool programExists(const char* path) { return access(path, X_OK) == 0; }

// Runs a shell command; gives its exit status and what it printed (stdout and stderr).
inline int runCommand(const std::string& command, std::string& output) {
  output.clear();
  FILE* p = popen((command + " 2>&1").c_str(), "r");
  if (!p) return -1;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) output.append(buf, n);
  const int status = pclose(p);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// "$" + body + "*" + the body's checksum in two upper-case hex digits.
inline std::string nmeaSentence(const std::string& body) {
  unsigned x = 0;
  for (char c : body) x ^= static_cast<unsigned char>(c);
  static const char hex[] = "0123456789ABCDEF";
  return "$" + body + "*" + hex[x >> 4] + hex[x & 15];
}
