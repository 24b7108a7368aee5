#pragma once

#include <QString>
#include <QStringList>

namespace vestrel {

// Gives the owner write permission, so a file left read-only can be rewritten or removed.
// False when the file does not exist or its permissions cannot be changed.
bool MakeOwnerWritable(const QString& name);
// Makes the file writable by its owner, then deletes it; true when it is gone.
bool DeleteFileForced(const QString& name);

// The files matching each of the ";"-separated wildcard patterns ("*.wav;Skins/*.skn"), in
// pattern order and by name within a pattern, each once. A name keeps the directory its pattern
// gave (none for a bare pattern); wildcards apply to the file name only and ignore case.
// Directories are not listed; hidden files are.
QStringList ListFiles(const QString& patterns);

} // namespace vestrel
