#pragma once

#include <QString>

namespace vestrel {

// "Linux".
QString OSName();
// "Linux -> MajorVersion: 6 MinorVersion: 1 BuildNumber: 0 PlatformId: Debian GNU/Linux 12
// (bookworm)": the numbers from the kernel release, the platform from os-release's PRETTY_NAME
// (the kernel's name when there is none).
QString OSDescription();
// The version of a file: the program's version for this program's executable, "???" otherwise
// (Linux executables carry no version resource).
QString FileVersion(const QString& file);
// The program's own version.
QString LeggiVersione();

// The rules behind OSDescription, for tests.
QString OSDescriptionOf(const QString& kernelRelease, const QString& platform);
// PRETTY_NAME of an os-release file's text, quotes and escapes removed; empty when missing.
QString PrettyNameOf(const QString& osRelease);

} // namespace vestrel
