// The in-memory INI file.
#include "platform/IniFile.h"

#include <exception>

#include "base/AtomicFile.h"
#include "base/FileText.h"
#include "base/NumberText.h"

bool IniFile::load(std::string* error) {
  sections_.clear();
  sectionIndex_.clear();
  if (error) error->clear();
  // No file is an empty set of settings; a file that is there but cannot be read is not, and
  // the caller must hear of it before it writes defaults over the user's keys.
  std::string text, why;
  bool found = false;
  if (!readFileTextIfThere(fileName_, text, why, found)) {
    if (error) *error = why;
    return false;
  }
  if (!found) return false;
  parse(text);
  return true;
}

void IniFile::parse(std::string_view text) {
  sections_.clear();
  sectionIndex_.clear();
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // UTF-8 byte order mark
  Section* current = nullptr;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::string trimmed = trim(line);
    // A byte-order mark inside the text means nothing either; left at the start of a line,
    // the written text would begin with one that the next parse drops.
    while (trimmed.compare(0, 3, "\xEF\xBB\xBF") == 0) trimmed = trim(std::string_view(trimmed).substr(3));
    if (trimmed.empty()) continue;
    if (trimmed.front() == '[' && trimmed.back() == ']') {
      std::string name = trim(std::string_view(trimmed).substr(1, trimmed.size() - 2));
      current = &sectionForWrite(name);
      continue;
    }
    // Before the first header nothing has made a section yet: these lines get their own.
    if (!current) {
      if (sections_.empty()) sections_.push_back(Section{{}, {}, false, {}});
      current = &sections_.front();
    }
    Entry e;
    size_t eq = trimmed.find('=');
    if (eq == std::string::npos || trimmed.front() == ';' || trimmed.front() == '#') {
      e.key = trimmed;
      e.isValue = false;
    } else {
      e.key = trim(std::string_view(trimmed).substr(0, eq));
      e.value = trim(std::string_view(trimmed).substr(eq + 1));
    }
    addEntry(*current, std::move(e));
  }
}

std::string IniFile::text() const {
  std::string out;
  bool first = true;
  for (const Section& s : sections_) {
    if (s.header) {
      if (!first) out += '\n';
      out += '[' + s.name + "]\n";
    }
    first = false;
    for (const Entry& e : s.entries) out += e.isValue ? e.key + '=' + e.value + '\n' : e.key + '\n';
  }
  return out;
}

bool IniFile::save(std::string* error) const {
  // As careful as saving a document: a temporary name of its own that no planted link can
  // redirect, the mode and a symbolic link of the file kept, every write error reported,
  // the data on disk before the rename.
  try {
    writeFileAtomically(fileName_, text());
    return true;
  } catch (const std::exception& e) {
    if (error) *error = e.what();
    return false;
  }
}

const IniFile::Section* IniFile::findSection(std::string_view name) const {
  const auto it = sectionIndex_.find(toLowerAscii(name));
  return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

IniFile::Section& IniFile::sectionForWrite(std::string_view name) {
  const auto [it, added] = sectionIndex_.emplace(toLowerAscii(name), sections_.size());
  if (added) sections_.push_back(Section{std::string(name), {}, true, {}});
  return sections_[it->second];
}

const IniFile::Entry* IniFile::findEntry(const Section& s, std::string_view key) {
  const auto it = s.keyIndex.find(toLowerAscii(key));
  return it == s.keyIndex.end() ? nullptr : &s.entries[it->second];
}

void IniFile::addEntry(Section& s, Entry e) {
  if (e.isValue) s.keyIndex.emplace(toLowerAscii(e.key), s.entries.size());
  s.entries.push_back(std::move(e));
}

bool IniFile::hasSection(std::string_view section) const { return findSection(section) != nullptr; }

bool IniFile::hasKey(std::string_view section, std::string_view key) const {
  return value(section, key).has_value();
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const {
  const Section* s = findSection(section);
  if (!s) return std::nullopt;
  const Entry* e = findEntry(*s, key);
  if (!e) return std::nullopt;
  return e->value;
}

std::vector<std::string> IniFile::keys(std::string_view section) const {
  std::vector<std::string> out;
  if (const Section* s = findSection(section))
    for (const Entry& e : s->entries)
      if (e.isValue) out.push_back(e.key);
  return out;
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                const std::string& def) const {
  auto v = value(section, key);
  return v ? *v : def;
}

int32_t IniFile::readInteger(std::string_view section, std::string_view key, int32_t def) const {
  auto v = value(section, key);
  int out = 0;
  if (!v || !parseIntStrict(*v, out)) return def;
  return out;
}

bool IniFile::readBool(std::string_view section, std::string_view key, bool def) const {
  auto v = value(section, key);
  int64_t out = 0;
  if (!v || !parseIntStrict(*v, out)) return def;
  return out != 0;
}

void IniFile::writeString(std::string_view section, std::string_view key,
                          const std::string& value) {
  // A line break would split the value and let its rest pose as keys or sections.
  std::string v = value;
  for (char& c : v)
    if (c == '\n' || c == '\r') c = ' ';
  Section& s = sectionForWrite(section);
  if (const Entry* e = findEntry(s, key)) {
    const_cast<Entry*>(e)->value = v;
    return;
  }
  addEntry(s, Entry{std::string(key), v, true});
}

void IniFile::writeInteger(std::string_view section, std::string_view key, int32_t value) {
  writeString(section, key, formatInt(value));
}

void IniFile::writeBool(std::string_view section, std::string_view key, bool value) {
  writeString(section, key, value ? "1" : "0");
}
