#pragma once

#include "common/DateTime.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

namespace vestrel {

class TDataUnits;
class TDataUnitsItems;

// The log's text form: a header line, then one line per record with its start and end
// ("dd/mm/yyyy hh:nn:ss"), pulses, Lire (2 decimals), Euro (3 decimals) and name, separated by
// TABs, each line ended by CR LF; numbers use the user's decimal separator. Older files lack
// the Euro column. The file is in Windows-1252, or UTF-8 when a name needs it.

QString LogTextHeader();
QByteArray EncodeLogText(const TDataUnitsItems& records);

// One line parsed; nullopt when the start, end, pulses or Lire do not parse.
struct LogTextLine {
    TDateTime start = 0;
    TDateTime end = 0;
    qint32 pulses = 0;
    double lire = 0;
    QString name;
};
std::optional<LogTextLine> ParseLogTextLine(QStringView line);

// "d/m/yyyy h:n:s", the time optional, its seconds too.
std::optional<TDateTime> ParseLogDateTime(QStringView text);
// A decimal number with the user's decimal separator, no thousands separators.
std::optional<double> ParseLogNumber(QStringView text);

struct LogImportCounts {
    int imported = 0;
    int rejected = 0;
};
// Inserts every line that parses into the log, skipping header and blank lines; no save.
LogImportCounts ReadLogText(QByteArrayView bytes, TDataUnits& log);

// Writes the records to the file and tells the user how it went; false when it failed.
bool ExportLogText(const QString& fileName, const TDataUnitsItems& records);
// Reads the file into the log, tells the user the counts and saves the log when at least one
// more line was imported than rejected (then true). Raises VestrelError when the file cannot
// be opened or read.
bool ImportLogText(const QString& fileName, TDataUnits& log);

} // namespace vestrel
