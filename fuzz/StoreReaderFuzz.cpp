// Any bytes given to the store reader or the dumper end in a clean error or a loaded object.

#include "store/StoreStream.h"
#include "store/StreamDumper.h"
#include "store/TestStores.h"

#include "common/VestrelError.h"

#include <QBuffer>
#include <QCoreApplication>

#include <cstddef>
#include <cstdint>

using namespace vestrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static int argc = 1;
    static char name[] = "store_reader_fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);

    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    {
        testing::TKitchenSink sink;
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        try {
            store::ReadStore(buffer, sink);
            // What was read must write back without fault.
            QBuffer out;
            out.open(QIODevice::WriteOnly);
            store::WriteStore(out, sink);
        } catch (const VestrelError&) {
        }
    }
    {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        try {
            (void)store::DumpStream(buffer);
        } catch (const VestrelError&) {
        }
    }
    return 0;
}
