#pragma once

#include <QIODevice>
#include <QString>

namespace vestrel::store {

class TPersistent;
class TPersistentComponent;

// Writes the whole store as a component stream: signature, class and object name, its
// properties, and the two closing Null bytes. Raises the device's error when writing fails.
void WriteStore(QIODevice& out, const TPersistentComponent& store);

// Reads a component stream into an existing store. Raises a VestrelError with the decoder's
// message at the first fault; what was read before it stays in the store.
void ReadStore(QIODevice& in, TPersistentComponent& store);

// Writes the whole file at once through a temporary file renamed over the old one, readable and
// writable by its owner only, so a crash or a full disk never leaves a half-written store.
// Raises the file system's error.
void WriteStoreFile(const QString& path, const TPersistentComponent& store);

// The same for any object with a schema, named explicitly (tests, tools).
void WriteObject(QIODevice& out, const TPersistent& root, const QString& objectName);
QString ReadObject(QIODevice& in, TPersistent& root);

// Names of the program's windows and data module: a store read under one of them gets "_1",
// "_2", … appended, as component names must stay unique.
void RegisterTopLevelName(const QString& name);
void UnregisterTopLevelName(const QString& name);

} // namespace vestrel::store
