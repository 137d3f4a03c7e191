// An INI file held whole in memory: case-insensitive section and key names, keys the program
// does not know are kept and written back, UTF-8 text, CR LF or LF line ends on reading.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class IniFile {
public:
  IniFile() = default;
  explicit IniFile(std::string fileName) : fileName_(std::move(fileName)) {}

  const std::string& fileName() const { return fileName_; }

  // Reads the file named at construction; false (and empty contents) when it cannot be read.
  // `error` gets the reason when the file exists but cannot be read, and stays empty when
  // there is no such file.
  bool load(std::string* error = nullptr);
  // Replaces the contents by the parsed text.
  void parse(std::string_view text);
  // The contents as file text, LF line ends.
  std::string text() const;
  // Writes a temporary file beside the target and renames it over the target, so that a
  // failed write leaves the old file whole; a symbolic link and the file's mode are kept.
  // On failure returns false and sets `error`.
  bool save(std::string* error = nullptr) const;

  bool hasSection(std::string_view section) const;
  bool hasKey(std::string_view section, std::string_view key) const;
  std::optional<std::string> value(std::string_view section, std::string_view key) const;
  // Names of the keys of a section in file order (empty when the section is missing).
  std::vector<std::string> keys(std::string_view section) const;

  std::string readString(std::string_view section, std::string_view key,
                         const std::string& def) const;
  // A missing key or a value that is not a decimal integer in range gives `def`.
  int32_t readInteger(std::string_view section, std::string_view key, int32_t def) const;
  // Any integer other than 0 is true; a missing or non-integer value gives `def`.
  bool readBool(std::string_view section, std::string_view key, bool def) const;

  // Replaces the value of an existing key (keeping its place), else appends the key, and the
  // section when it is new.
  void writeString(std::string_view section, std::string_view key, const std::string& value);
  void writeInteger(std::string_view section, std::string_view key, int32_t value);
  void writeBool(std::string_view section, std::string_view key, bool value);

private:
  struct Entry {
    std::string key, value;
    bool isValue = true;  // false: a line without '=' (comment, stray text), kept verbatim in key
  };
  struct Section {
    std::string name;
    std::vector<Entry> entries;
    bool header = true;  // false only for the lines before the first section header
    // Lower-case key -> place of its first entry: of two equal keys the first one counts.
    std::unordered_map<std::string, size_t> keyIndex;
  };
  // Looked up through the indexes, so that a file of many keys or sections loads and saves
  // in linear time; both are built by the parse and kept current by every write.
  const Section* findSection(std::string_view name) const;
  Section& sectionForWrite(std::string_view name);
  static const Entry* findEntry(const Section& s, std::string_view key);
  static void addEntry(Section& s, Entry e);

  std::string fileName_;
  std::vector<Section> sections_;
  // Lower-case name -> place in sections_ of every section with a header.
  std::unordered_map<std::string, size_t> sectionIndex_;
};
