#pragma once

#include <QByteArray>
#include <QObject>

#include <functional>
#include <memory>

namespace vestrel::store {

class TPersistentComponent;

// The program's store classes by stream class name, so a file can be decoded into the class its
// header names (vestrel-cli resave). Each store module registers its classes at start.
class StoreRegistry {
public:
    using Factory = std::function<std::unique_ptr<TPersistentComponent>()>;

    static void Register(const QByteArray& className, Factory factory);
    // nullptr when the class is unknown.
    static std::unique_ptr<TPersistentComponent> Create(const QByteArray& className);
    static QList<QByteArray> ClassNames();
};

// The class name in a stream's header, without decoding the rest; raises the decoder's error.
QByteArray ReadStreamClassName(class QIODevice& in);

} // namespace vestrel::store
