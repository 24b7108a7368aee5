#include "StoreCommands.h"

#include "CliCommands.h"

#include "common/VestrelError.h"
#include "store/PersistentComponent.h"
#include "store/StoreRegistry.h"
#include "store/StoreStream.h"
#include "store/StreamDumper.h"

#include <QFile>

namespace vestrel::cli {

using namespace Qt::Literals::StringLiterals;

namespace {

void openForReading(QFile& file)
{
    if (!file.open(QIODevice::ReadOnly))
        throw VestrelError(withDetail(u"Impossibile aprire il file: "_s + file.fileName(), file.errorString()));
}

int dump(const QStringList& args, CliIO& io)
{
    if (args.size() != 1)
        return 2;
    QFile file(args[0]);
    openForReading(file);
    io.out << store::DumpStream(file);
    return 0;
}

// Decodes FILE into the store class its header names and encodes it into OUT: no binding, no
// post-load repair, so the bytes show exactly what the codec keeps.
int resave(const QStringList& args, CliIO& io)
{
    if (args.size() != 2)
        return 2;
    QFile file(args[0]);
    openForReading(file);
    const QByteArray className = store::ReadStreamClassName(file);
    auto target = store::StoreRegistry::Create(className);
    if (!target) {
        io.err << "Classe sconosciuta: " << QString::fromLatin1(className) << '\n';
        return 1;
    }
    file.seek(0);
    store::ReadStore(file, *target);
    store::WriteStoreFile(args[1], *target);
    return 0;
}

} // namespace

void RegisterStoreCommands()
{
    RegisterCommand(u"dump"_s, u"dump FILE"_s, dump);
    RegisterCommand(u"resave"_s, u"resave FILE OUT"_s, resave);
}

} // namespace vestrel::cli
