// Makes the program the user's handler of a file type, or gives the type back, with the
// per-user freedesktop files only: a desktop entry, its icon, a MIME package when the type
// is not known to the system, and the default line of the user's mimeapps.list. Nothing
// needs root and nothing system-wide is touched.
#pragma once
#include <optional>
#include <stdexcept>
#include <string>

// One file type the program can take over.
struct FileTypeAssociation {
  std::string Extension;    // without the dot: "gpx"
  std::string ClassName;    // the desktop entry's name without ".desktop": "Corvantel1.GPX"
  std::string Description;  // the type as the user reads it: "GPS Exchange file"
  std::string MimeType;     // "application/gpx+xml"
  bool OwnMimeType = false; // the system does not know the type: a user package declares it
};

// ".gpx" (already known to shared-mime-info) and ".nmea" (declared by our own package).
FileTypeAssociation gpxFileType(const std::string& description);
FileTypeAssociation nmeaFileType();

// Where the user's files go: $XDG_DATA_HOME and $XDG_CONFIG_HOME or their defaults.
struct DesktopFolders {
  std::string DataHome;
  std::string ConfigHome;
};
DesktopFolders desktopFoldersFromEnvironment();

// The Exec line of a desktop entry that opens one file with the program: the path quoted
// and escaped as the desktop entry rules ask, "%f" bare.
std::string desktopExecLine(const std::string& programPath);
// GLib starts no desktop entry whose program path holds a per cent sign (doubled as the rules
// ask, it still looks for a file named with two) or is not UTF-8: such a program cannot be
// made a type's handler.
bool desktopCanStart(const std::string& programPath);
// Why, for the user.
std::string desktopCannotStartMessage();

// Line-by-line reading and editing of a key file such as mimeapps.list: every other line
// stays as it was. The value of a key of a section; none when absent.
std::optional<std::string> keyFileValue(const std::string& text, const std::string& section,
                                        const std::string& key);
// Sets the key (all its lines in that section), adding the line, and the section, when
// missing; `value` none removes the key's lines.
std::string setKeyFileValue(const std::string& text, const std::string& section,
                            const std::string& key, const std::optional<std::string>& value);

class FileAssociationError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

class FileAssociations {
public:
  FileAssociations(std::string programPath, DesktopFolders folders);

  // The user's folders can be written: a file is created and removed in each. Nothing
  // else is changed.
  bool CanWrite() const;
  // Installs the entry, its icon and (for an own type) the MIME package, and makes the
  // entry the user's default for the type. The default it replaces is remembered in the
  // entry, unless it was ours already. Throws FileAssociationError when a file cannot be
  // written, and before writing anything when the desktop cannot start the program or when
  // mimeapps.list or the entry is there but cannot be read.
  void Associate(const FileTypeAssociation& type);
  // When the entry is the user's default for the type, the remembered default takes its
  // place again (no user default at all when there was none). True when something changed.
  // Throws FileAssociationError, having written nothing, when either file is there but
  // cannot be read.
  bool Restore(const FileTypeAssociation& type);
  // The user's default for a MIME type, as mimeapps.list holds it; empty when none. Throws
  // FileAssociationError when the file is there but cannot be read.
  std::string UserDefault(const std::string& mimeType) const;

  std::string DesktopFile(const FileTypeAssociation& type) const;
  std::string MimeAppsFile() const;
  // Runs update-desktop-database and update-mime-database, when installed, after a change.
  bool RunUpdateTools = true;

private:
  void refreshDatabases(bool mime) const;
  std::string programPath_;
  DesktopFolders folders_;
};
