#pragma once

#include "DateTime.h"

#include <QString>

namespace vestrel {

// The program's per-user settings: an INI file, by default
// $XDG_CONFIG_HOME/Kelvane/<ApplicationTitle()>.ini. A section such as "Options\Statistiche" is a
// group path ("Options/Statistiche"); value names are case-sensitive. Integers are decimal
// strings, booleans "0" and "1", date-times the 8 little-endian bytes of the double.
// Reads return the default when the value is missing or malformed; nothing here throws.

// The file every helper below uses.
QString RegistryFile();
// Points the helpers at another file (tests); an empty path restores the default.
void SetRegistryFile(const QString& path);

int ReadRegInteger(const QString& section, const QString& name, int defaultValue);
// False when the file cannot be written.
bool WriteRegInteger(const QString& section, const QString& name, int value);
// Any integer other than 0 reads as true.
bool ReadRegBool(const QString& section, const QString& name, bool defaultValue);
// False when the file cannot be written.
bool WriteRegBool(const QString& section, const QString& name, bool value);
QString ReadRegString(const QString& section, const QString& name, const QString& defaultValue);
void WriteRegString(const QString& section, const QString& name, const QString& value);
TDateTime ReadRegDate(const QString& section, const QString& name, TDateTime defaultValue);
void WriteRegDate(const QString& section, const QString& name, TDateTime value);

} // namespace vestrel
