#include "OldTables.h"

#include "DataUnits.h"

#include "common/Dialogs.h"
#include "common/Files.h"
#include "common/VestrelError.h"

#include <QDir>
#include <QFile>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

namespace {

// The path of the file with that name in the directory, case ignored (the tables come from
// systems that ignore it); empty when there is none.
QString findFile(const QDir& dir, const QString& name)
{
    if (QFile::exists(dir.filePath(name)))
        return dir.filePath(name);
    const QStringList matches = dir.entryList({name}, QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& match : matches)
        if (match.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(match);
    return {};
}

// Moves the taken-over table to its ".old" name, replacing an older one. A table that cannot
// be moved is deleted instead, as its rows are already taken over and must not be taken twice.
void retire(const QDir& dir, const QString& table, const QString& oldName)
{
    const QString previous = findFile(dir, oldName);
    if (!previous.isEmpty())
        DeleteFileForced(previous);
    if (QFile::rename(table, dir.filePath(oldName)) || DeleteFileForced(table))
        return;
    throw VestrelError(u"Impossibile rinominare il file "_s + table + u" in "_s + dir.filePath(oldName));
}

std::vector<OldConnectionRow> readTable(const QString& path)
{
    try {
        return ReadOldTable(path);
    } catch (const VestrelError& e) {
        throw VestrelError(withDetail(u"Impossibile caricare i dati dal file: "_s + path, e.message()));
    }
}

} // namespace

void TakeOverOldTables(TDataUnits& log, const QString& directory)
{
    if (!OldTablesAvailable())
        return;
    const QDir dir(directory);

    // The oldest releases counted pulses only: the cost is that of the pulses at 152.4 Lire, and
    // a connection without a start date started when it ended.
    const QString scatti = findFile(dir, u"Scatti.db"_s);
    if (!scatti.isEmpty()) {
        std::vector<OldConnectionRow> rows = readTable(scatti);
        for (OldConnectionRow& row : rows) {
            row.Costo = row.Numeroscatti * 152.4;
            if (row.Datainizio == 0) {
                row.Datainizio = row.Datafine;
                row.Orainizio = row.Orafine;
            }
        }
        QString intermediate = findFile(dir, u"Vestrel.dat"_s);
        if (intermediate.isEmpty())
            intermediate = dir.filePath(u"Vestrel.dat"_s);
        try {
            WriteOldTable(intermediate, rows);
        } catch (const VestrelError& e) {
            DeleteFileForced(intermediate);
            throw VestrelError(withDetail(u"Impossibile salvare il file: "_s + intermediate, e.message()));
        }
        retire(dir, scatti, u"Scatti.old"_s);
        ShowInfoBox(u"Connessioni importate con successo in Vestrel.dat"_s);
    }

    const QString vestrel = findFile(dir, u"Vestrel.dat"_s);
    if (!vestrel.isEmpty()) {
        log.ImportOldTable(vestrel);
        retire(dir, vestrel, u"Vestrel.old"_s);
        ShowInfoBox(u"Connessioni importate con successo in Connections.dat"_s);
    }
}

} // namespace vestrel
