// File associations over the freedesktop conventions: desktop entries in
// $XDG_DATA_HOME/applications, defaults in $XDG_CONFIG_HOME/mimeapps.list, MIME packages in
// $XDG_DATA_HOME/mime/packages.
#include "platform/FileAssociations.h"

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>
#include <vector>

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include "base/AtomicFile.h"
#include "base/FileText.h"
#include "base/Translate.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kDefaultsSection = "Default Applications";
// The default an entry replaced, kept in the entry itself.
constexpr const char* kEarlierKey = "X-Corvantel-Earlier-Default";

std::string trimmed(const std::string& s) {
  const auto b = s.find_first_not_of(" \t\r");
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(" \t\r") - b + 1);
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

bool isSectionLine(const std::string& line) {
  const std::string t = trimmed(line);
  return !t.empty() && t.front() == '[' && t.back() == ']';
}

// The key of a "key=value" line; empty for comments, blank and section lines.
std::string lineKey(const std::string& line) {
  const std::string t = trimmed(line);
  if (t.empty() || t[0] == '#' || t[0] == '[') return {};
  const size_t eq = t.find('=');
  return eq == std::string::npos ? std::string() : trimmed(t.substr(0, eq));
}

std::string lineValue(const std::string& line) {
  const size_t eq = line.find('=');
  return trimmed(line.substr(eq + 1));
}

// The desktop entry rules for a string value: backslash and control characters escaped.
std::string escapeValue(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  return out;
}

// The first desktop id of a list value such as "a.desktop;b.desktop;".
std::string firstEntry(const std::string& value) {
  return trimmed(value.substr(0, value.find(';')));
}

// A missing file reads as empty; one that is there but cannot be read is an error, so that
// nothing built from it replaces the user's lines.
std::string readFile(const std::string& name) {
  // Files on disk through our own reader, which never waits on a pipe; icons from the resources.
  if (!name.starts_with(':')) {
    std::string text, error;
    bool found = false;
    if (!readFileTextIfThere(name, text, error, found)) throw FileAssociationError(error);
    return text;
  }
  QFile file(QString::fromStdString(name));
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = file.readAll();
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

// Saved as the settings file is: written whole beside the target and renamed over it, so a
// failure leaves the old file; a link is followed and kept; a device, pipe or folder in the
// file's place (a mimeapps.list linked to /dev/null) is left as it is and reported.
void writeFile(const std::string& name, const std::string& text) {
  std::error_code ec;
  fs::create_directories(fs::path(name).parent_path(), ec);
  try {
    writeFileAtomically(name, text);
  } catch (const std::system_error& e) {
    throw FileAssociationError(e.what());
  }
}

// Text inside an element of the MIME package.
std::string xmlText(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '&') out += "&amp;";
    else if (c == '<') out += "&lt;";
    else if (c == '>') out += "&gt;";
    else out += c;
  }
  return out;
}

std::string desktopId(const FileTypeAssociation& type) { return type.ClassName + ".desktop"; }

}  // namespace

FileTypeAssociation gpxFileType(const std::string& description) {
  return {"gpx", "Corvantel1.GPX", description, "application/gpx+xml", false};
}

FileTypeAssociation nmeaFileType() {
  return {"nmea", "Corvantel1.NMEA", "NMEA log file", "text/x-nmea", true};
}

DesktopFolders desktopFoldersFromEnvironment() {
  return {QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString(),
          QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString()};
}

std::string desktopExecLine(const std::string& programPath) {
  // Inside the quotes '"', '`', '$' and '\' take a backslash; '%' is doubled, since a bare
  // one starts a field code; then the whole line is escaped as any string value.
  std::string quoted = "\"";
  for (char c : programPath) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    if (c == '%') quoted += '%';
    quoted += c;
  }
  quoted += '"';
  return escapeValue(quoted) + " %f";
}

bool desktopCanStart(const std::string& programPath) {
  return programPath.find('%') == std::string::npos && QByteArrayView(programPath).isValidUtf8();
}

std::string desktopCannotStartMessage() {
  return _("Corvantel cannot be made the program for these files from this folder: desktop entries "
           "cannot start a program whose path holds a per cent sign or is not UTF-8. Move it to "
           "another folder.");
}

std::optional<std::string> keyFileValue(const std::string& text, const std::string& section,
                                        const std::string& key) {
  bool inSection = false;
  for (const std::string& line : splitLines(text)) {
    if (isSectionLine(line))
      inSection = trimmed(line) == "[" + section + "]";
    else if (inSection && lineKey(line) == key)
      return lineValue(line);
  }
  return std::nullopt;
}

std::string setKeyFileValue(const std::string& text, const std::string& section,
                            const std::string& key, const std::optional<std::string>& value) {
  std::vector<std::string> lines = splitLines(text);
  const std::string header = "[" + section + "]";
  const std::string newLine = value ? key + "=" + *value : std::string();
  std::vector<std::string> out;
  bool inSection = false, sectionSeen = false, written = false;
  size_t lastOfSection = 0;  // where a new key goes: after the section's last key line
  for (const std::string& line : lines) {
    if (isSectionLine(line)) {
      inSection = trimmed(line) == header;
      if (inSection) {
        sectionSeen = true;
        out.push_back(line);
        lastOfSection = out.size();
        continue;
      }
    } else if (inSection && lineKey(line) == key) {
      if (value) {
        out.push_back(newLine);
        written = true;
        lastOfSection = out.size();
      }
      continue;
    }
    out.push_back(line);
    if (inSection && !trimmed(line).empty()) lastOfSection = out.size();
  }
  if (value && !written) {
    if (sectionSeen) {
      out.insert(out.begin() + static_cast<std::ptrdiff_t>(lastOfSection), newLine);
    } else {
      if (!out.empty() && !trimmed(out.back()).empty()) out.push_back("");
      out.push_back(header);
      out.push_back(newLine);
    }
  }
  std::string result;
  for (const std::string& line : out) result += line + "\n";
  return result;
}

FileAssociations::FileAssociations(std::string programPath, DesktopFolders folders)
    : programPath_(std::move(programPath)), folders_(std::move(folders)) {}

std::string FileAssociations::DesktopFile(const FileTypeAssociation& type) const {
  return folders_.DataHome + "/applications/" + desktopId(type);
}

std::string FileAssociations::MimeAppsFile() const { return folders_.ConfigHome + "/mimeapps.list"; }

bool FileAssociations::CanWrite() const {
  for (const std::string& folder : {folders_.DataHome + "/applications", folders_.ConfigHome}) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) return false;
    // A new file of a name no one had: a link or a pipe planted at a fixed name would be
    // followed and truncated, or would hold the editor in open().
    std::string probe = folder + "/.corvantel-write-test-XXXXXX";
    const int fd = ::mkstemp(probe.data());
    if (fd < 0) return false;
    const bool written = ::write(fd, "test", 4) == 4;
    ::close(fd);
    if (::unlink(probe.c_str()) != 0 || !written) return false;
  }
  return true;
}

std::string FileAssociations::UserDefault(const std::string& mimeType) const {
  return keyFileValue(readFile(MimeAppsFile()), kDefaultsSection, mimeType).value_or("");
}

void FileAssociations::Associate(const FileTypeAssociation& type) {
  if (!desktopCanStart(programPath_)) throw FileAssociationError(desktopCannotStartMessage());
  const std::string entryFile = DesktopFile(type);
  const std::string current = UserDefault(type.MimeType);
  // A second run finds itself the default and keeps what the first run remembered.
  std::string earlier = keyFileValue(readFile(entryFile), "Desktop Entry", kEarlierKey).value_or("");
  if (!current.empty() && firstEntry(current) != desktopId(type)) earlier = current;

  const std::string icon = folders_.DataHome + "/icons/hicolor/scalable/apps/" + type.ClassName + ".svg";
  writeFile(icon, readFile(":/fileicons/" + type.ClassName + ".svg"));
  if (type.OwnMimeType) {
    writeFile(folders_.DataHome + "/mime/packages/" + type.ClassName + ".xml",
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
              "  <mime-type type=\"" + type.MimeType + "\">\n"
              "    <sub-class-of type=\"text/plain\"/>\n"
              "    <comment>" + xmlText(type.Description) + "</comment>\n"
              "    <icon name=\"" + type.ClassName + "\"/>\n"
              "    <glob pattern=\"*." + type.Extension + "\"/>\n"
              "  </mime-type>\n"
              "</mime-info>\n");
  }
  std::string entry = "[Desktop Entry]\nType=Application\nName=Corvantel\n";
  entry += "Comment=" + escapeValue(type.Description) + "\n";
  entry += "Icon=" + escapeValue(icon) + "\n";
  entry += "Exec=" + desktopExecLine(programPath_) + "\n";
  entry += "MimeType=" + type.MimeType + ";\n";
  entry += "NoDisplay=true\nTerminal=false\n";
  if (!earlier.empty()) entry += std::string(kEarlierKey) + "=" + escapeValue(earlier) + "\n";
  writeFile(entryFile, entry);
  writeFile(MimeAppsFile(), setKeyFileValue(readFile(MimeAppsFile()), kDefaultsSection,
                                            type.MimeType, desktopId(type) + ";"));
  refreshDatabases(type.OwnMimeType);
}

bool FileAssociations::Restore(const FileTypeAssociation& type) {
  if (firstEntry(UserDefault(type.MimeType)) != desktopId(type)) return false;
  std::string earlier =
      keyFileValue(readFile(DesktopFile(type)), "Desktop Entry", kEarlierKey).value_or("");
  // The remembered value is written back as it was read from mimeapps.list.
  std::string unescaped;
  for (size_t i = 0; i < earlier.size(); ++i) {
    if (earlier[i] == '\\' && i + 1 < earlier.size()) {
      const char n = earlier[++i];
      unescaped += n == 'n' ? '\n' : n == 't' ? '\t' : n == 'r' ? '\r' : n;
    } else {
      unescaped += earlier[i];
    }
  }
  std::optional<std::string> value;
  if (!unescaped.empty()) value = unescaped;
  writeFile(MimeAppsFile(), setKeyFileValue(readFile(MimeAppsFile()), kDefaultsSection,
                                            type.MimeType, value));
  return true;
}

void FileAssociations::refreshDatabases(bool mime) const {
  if (!RunUpdateTools) return;
  auto run = [](const char* tool, const std::string& folder) {
    const QString program = QStandardPaths::findExecutable(QString::fromLatin1(tool));
    if (program.isEmpty()) return;
    QProcess process;
    process.start(program, {QString::fromStdString(folder)});
    process.waitForFinished(30000);
  };
  run("update-desktop-database", folders_.DataHome + "/applications");
  if (mime) run("update-mime-database", folders_.DataHome + "/mime");
}
