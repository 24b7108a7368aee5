#pragma once

#include "store/PersistentComponent.h"
#include "store/StoreStream.h"
#include "store/ValueTag.h"

#include "common/VestrelError.h"
#include "support/QStringPrinter.h"

#include <QBuffer>
#include <QByteArray>

namespace vestrel::testing {

// Builds component-stream bytes by hand, so a test shows the exact layout it expects.
struct StreamBytes {
    QByteArray d;

    StreamBytes& raw(QByteArrayView bytes)
    {
        d.append(bytes);
        return *this;
    }
    StreamBytes& byte(int b)
    {
        d.append(char(b));
        return *this;
    }
    StreamBytes& tag(store::ValueTag t) { return byte(int(t)); }
    StreamBytes& str(QByteArrayView s) // short string: length byte and bytes
    {
        byte(int(s.size()));
        return raw(s);
    }
    StreamBytes& int32(qint32 v)
    {
        for (int i = 0; i < 4; ++i)
            byte((quint32(v) >> (8 * i)) & 0xFF);
        return *this;
    }
    StreamBytes& header(QByteArrayView className, QByteArrayView name)
    {
        return raw("TPF0").str(className).str(name);
    }
    StreamBytes& end() { return byte(0).byte(0); }
    operator QByteArray() const { return d; }
};

inline QByteArray encode(const store::TPersistentComponent& s)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    store::WriteStore(buffer, s);
    return buffer.data();
}

inline void decode(const QByteArray& bytes, store::TPersistentComponent& s)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    store::ReadStore(buffer, s);
}

// The message a decoding failure raises ("" when it succeeds).
template <class Store>
QString decodeError(const QByteArray& bytes, Store& s)
{
    try {
        decode(bytes, s);
    } catch (const VestrelError& e) {
        return e.message();
    }
    return {};
}

} // namespace vestrel::testing
