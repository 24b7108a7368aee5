#pragma once

#include <QString>

namespace vestrel {

// The user's folder of that name, without a trailing "/" (names ignore case):
//   "Desktop"   the XDG desktop directory
//   "StartUp"   $XDG_CONFIG_HOME/autostart, whose entries start with the desktop session
//   "Favorites" $XDG_DATA_HOME/Vestrel/Favorites: Linux has no shared favourites folder, so the
//               program keeps its own
// Empty for any other name. Under a root set by SetShellRoot the folders are root + "/Desktop",
// "/autostart" and "/Favorites".
QString ShellFolder(const QString& name);
// Tests point the folders into a temporary directory; an empty root restores the user's.
void SetShellRoot(const QString& root);

// Writes folder/name.desktop (the folder is created when missing): an application entry running
// the quoted target with the arguments (split like a command line, each quoted), in the target's
// directory. Raises VestrelError "Fallita la CreateShortcut" when the file cannot be written.
void CreateShortcut(const QString& target, const QString& arguments, const QString& name,
                    const QString& folder);

struct ShortcutInfo {
    QString path;
    QString workingDirectory;
    QString description;
    // The arguments after the program, joined by spaces; one holding a space or a quote is quoted.
    QString arguments;
    // A desktop entry has no window state: always 1, a normal window.
    int showCommand = 1;
};

// Raises VestrelError "Fallita la ReadShortcut" when the file cannot be read or is not an
// application entry.
ShortcutInfo ReadShortcut(const QString& file);

// On: the autostart entry "Vestrel.desktop" runs this executable with "/WinStart".
// Off: removes that entry, if there is one. Raises VestrelError when the entry cannot be written
// or removed.
void SetAutoStart(bool on);

} // namespace vestrel
