#include "LogCommands.h"

#include "CliCommands.h"
#include "ConsoleServices.h"

#include "common/DateFormat.h"
#include "common/Dates.h"
#include "common/Dialogs.h"
#include "common/ProcessValues.h"
#include "common/VestrelError.h"
#include "log/DataUnits.h"

#include <QDate>
#include <QMap>
#include <QRegularExpression>

namespace vestrel::cli {

using namespace Qt::Literals::StringLiterals;

namespace {

// The log as the program binds it: "Connections.dat" in the data directory, created if missing.
class BoundLog {
public:
    BoundLog() { log.SetFileName(DataDirectory() + u"Connections.dat"_s); }
    TDataUnits log;
};

// "AAAA-MM-GG" or "AAAA-MM-GG hh:mm[:ss]"; a date alone is its first or, as an upper bound, its
// last moment.
TDateTime parseBound(const QString& text, bool upper)
{
    static const QRegularExpression pattern(
        u"^(\\d{4})-(\\d{2})-(\\d{2})(?: (\\d{2}):(\\d{2})(?::(\\d{2}))?)?$"_s);
    const QRegularExpressionMatch m = pattern.match(text);
    const auto part = [&](int i) { return m.captured(i).toInt(); };
    if (m.hasMatch() && QDate(part(1), part(2), part(3)).isValid()) {
        const TDateTime day = EncodeDate(part(1), part(2), part(3));
        if (!m.hasCaptured(4))
            return upper ? CombineDateTime(EndOfDay, day) : day;
        if (part(4) < 24 && part(5) < 60 && part(6) < 60)
            return CombineDateTime(EncodeTime(part(4), part(5), part(6)), day);
    }
    throw VestrelError(u"Data non valida: "_s + text + u" (formato AAAA-MM-GG o AAAA-MM-GG hh:mm:ss)"_s);
}

int exportLog(const QStringList& args, CliIO& io)
{
    if (args.size() != 1)
        return 2;
    ConsoleDialogs dialogs(io);
    BoundLog bound;
    return bound.log.ExportText(args[0]) ? 0 : 1;
}

int importLog(const QStringList& args, CliIO& io)
{
    if (args.size() != 1)
        return 2;
    ConsoleDialogs dialogs(io);
    BoundLog bound;
    return bound.log.ImportText(args[0]) ? 0 : 1;
}

int stats(const QStringList& args, CliIO& io)
{
    using Query = void (TDataUnits::*)(TDataUnitsItems&, TDateTime, TDateTime) const;
    const QMap<QString, Query> queries = {
        {u"day"_s, &TDataUnits::SumByDay},
        {u"month"_s, &TDataUnits::SumByMonth},
        {u"year"_s, &TDataUnits::SumByYear},
        {u"connection"_s, &TDataUnits::SumByConnection},
    };
    QMap<QString, QString> options;
    for (qsizetype i = 0; i < args.size(); i += 2) {
        const QString& name = args[i];
        if (i + 1 >= args.size() || options.contains(name)
            || (name != u"--by"_s && name != u"--from"_s && name != u"--to"_s))
            return 2;
        options.insert(name, args[i + 1]);
    }
    const QString by = options.value(u"--by"_s), from = options.value(u"--from"_s), to = options.value(u"--to"_s);
    if (!queries.contains(by))
        return 2;

    // A lower bound of 0 means every record; any bound given makes it a range.
    TDateTime lower = 0, upper = 0;
    if (!from.isEmpty() || !to.isEmpty()) {
        lower = from.isEmpty() ? EncodeDate(1, 1, 1) : parseBound(from, false);
        upper = to.isEmpty() ? EncodeDate(9999, 12, 31) + EndOfDay : parseBound(to, true);
        if (lower == 0)
            lower = -OneMillisecond / 2; // 30/12/1899 0:00 as a bound, not as "every record"
    }

    ConsoleDialogs dialogs(io);
    BoundLog bound;
    TDataUnitsItems groups;
    (bound.log.*queries.value(by))(groups, upper, lower);
    for (int i = 0; i < groups.Count(); ++i) {
        const TDataUnitsItem& g = *groups[i];
        io.out << FormatDateTime(u"yyyy-mm-dd hh:nn:ss"_s, g.I()) << '\t' << SecondsOf(g.Duration()) << '\t'
               << g.S() << '\t' << QString::number(g.L(), 'f', 2) << '\t' << g.N() << '\n';
    }
    return 0;
}

int logCommand(const QStringList& args, CliIO& io)
{
    if (args.isEmpty())
        return 2;
    const QString sub = args.front();
    const QStringList rest = args.mid(1);
    if (sub == u"export"_s)
        return exportLog(rest, io);
    if (sub == u"import"_s)
        return importLog(rest, io);
    if (sub == u"stats"_s)
        return stats(rest, io);
    return 2;
}

} // namespace

void RegisterLogCommands()
{
    RegisterLogStores();
    RegisterCommand(u"log"_s,
                    u"log export FILE | log import FILE | "
                    "log stats --by day|month|year|connection [--from AAAA-MM-GG] [--to AAAA-MM-GG]"_s,
                    logCommand);
}

} // namespace vestrel::cli
