#include "StoreRegistry.h"

#include "PersistentComponent.h"
#include "StreamBuffer.h"
#include "StreamDumper.h"

#include "common/VestrelError.h"

#include <QMap>

namespace vestrel::store {

using namespace Qt::Literals::StringLiterals;

namespace {
QMap<QByteArray, StoreRegistry::Factory>& factories()
{
    static QMap<QByteArray, StoreRegistry::Factory> map;
    return map;
}
} // namespace

void StoreRegistry::Register(const QByteArray& className, Factory factory)
{
    factories().insert(className, std::move(factory));
}

std::unique_ptr<TPersistentComponent> StoreRegistry::Create(const QByteArray& className)
{
    const auto it = factories().constFind(className);
    return it == factories().cend() ? nullptr : (*it)();
}

QList<QByteArray> StoreRegistry::ClassNames()
{
    return factories().keys();
}

QByteArray ReadStreamClassName(QIODevice& device)
{
    StreamInput in(device);
    char signature[4];
    in.readInto(signature, 4);
    if (std::memcmp(signature, Signature, 4) != 0)
        throw VestrelError(u"Invalid stream format"_s);
    SkipPrefix(in);
    const QByteArray name = in.readShortString();
    in.finish();
    return name;
}

} // namespace vestrel::store
