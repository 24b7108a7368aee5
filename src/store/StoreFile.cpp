#include "StoreStream.h"

#include "common/VestrelError.h"

#include <QSaveFile>

namespace vestrel::store {

void WriteStoreFile(const QString& path, const TPersistentComponent& store)
{
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    // Unbuffered: the encoder buffers already, and a short write (a full disk) must be seen here;
    // through the device's own buffer it would be committed as a truncated file.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw VestrelError(file.errorString());
    // Stores hold passwords and contacts in clear text: readable by their owner only.
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    WriteStore(file, store);
    if (!file.commit())
        throw VestrelError(file.errorString());
}

} // namespace vestrel::store
