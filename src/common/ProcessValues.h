#pragma once

#include <QString>

namespace vestrel {

enum TStartMode { smSetup = 0, smUninstall = 1, smRun = 2 };

// Values computed once per process from the executable's path (see InitProcessValues).
// The executable's path is read from the system when InitProcessValues was not called.
void InitProcessValues(const QString& executablePath);

QString ExecutablePath();
// The executable's base name with the first letter in upper case and the others in lower case,
// a trailing "-cli" dropped, so the GUI and the command line share one title: "Vestrel".
QString ApplicationTitle();
// Where every store file lives, with a trailing "/": $VESTREL_DATA_DIR, else the executable's
// directory when it is writable, else $XDG_DATA_HOME/Vestrel.
QString DataDirectory();
TStartMode StartMode();
// The program's version ("1.0.0.1"), set by the build.
QString ProgramVersion();
// The part of the version after its last ".", or -1 when that is not a number.
int BuildNumber();

// The rules behind the values, for tests.
QString ApplicationTitleFor(const QString& executablePath);
TStartMode StartModeFor(const QString& executablePath);
int BuildNumberOf(const QString& version);

} // namespace vestrel
