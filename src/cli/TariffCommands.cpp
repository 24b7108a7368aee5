#include "TariffCommands.h"

#include "CliCommands.h"
#include "DataFiles.h"

#include "common/DateFormat.h"
#include "common/VestrelError.h"
#include "tariff/Agenda.h"
#include "tariff/CostEngine.h"
#include "tariff/Taxations.h"

#include <QDateTime>

namespace vestrel::cli {

using namespace Qt::Literals::StringLiterals;

namespace {

struct Interval {
    TTaxItem* tax = nullptr;
    TDateTime from = 0;
    TDateTime to = 0;
};

TDateTime parseMoment(const QString& text, const QString& format)
{
    const QDateTime moment = QDateTime::fromString(text, format);
    if (!moment.isValid())
        throw VestrelError(u"Data non valida: "_s + text + u" (formato "_s + format + u')');
    return FromQDateTime(moment);
}

// --tax NAME --from MOMENT --to MOMENT, in any order; nullopt on wrong usage.
std::optional<Interval> parseInterval(const QStringList& args, DataFiles& files)
{
    QString tax, from, to;
    for (qsizetype i = 0; i + 1 < args.size(); i += 2) {
        if (args[i] == u"--tax"_s)
            tax = args[i + 1];
        else if (args[i] == u"--from"_s)
            from = args[i + 1];
        else if (args[i] == u"--to"_s)
            to = args[i + 1];
        else
            return std::nullopt;
    }
    if (args.size() != 6 || tax.isEmpty() || from.isEmpty() || to.isEmpty())
        return std::nullopt;
    Interval interval;
    interval.from = parseMoment(from, u"yyyy-MM-dd HH:mm:ss"_s);
    interval.to = parseMoment(to, u"yyyy-MM-dd HH:mm:ss"_s);
    interval.tax = files.taxations().FindTax(tax);
    if (!interval.tax)
        throw VestrelError(u"Tariffa sconosciuta: "_s + tax);
    return interval;
}

QString yesNo(bool value)
{
    return value ? u"yes"_s : u"no"_s;
}

int tariffs(const QStringList& args, CliIO& io)
{
    if (!args.isEmpty())
        return 2;
    DataFiles files;
    const TTaxItems& taxs = files.taxations().Taxs();
    for (int i = 0; i < taxs.Count(); ++i)
        io.out << taxs[i]->DisplayName() << '\n';
    return 0;
}

int price(const QStringList& args, CliIO& io)
{
    DataFiles files;
    const auto interval = parseInterval(args, files);
    if (!interval)
        return 2;
    const TTaxCost cost = interval->tax->IntervalCost(interval->from, interval->to);
    io.out << QString::number(cost.Lire, 'f', 6) << ' ' << cost.Scatti << '\n';
    return 0;
}

int compare(const QStringList& args, CliIO& io)
{
    DataFiles files;
    const auto interval = parseInterval(args, files);
    if (!interval)
        return 2;
    const TTaxCost cost = interval->tax->IntervalCost(interval->from, interval->to);
    const QString report =
        files.taxations().CompareTaxs({interval->from, interval->to, cost.Lire});
    io.out << ForTerminal(report) << '\n';
    return 0;
}

int day(const QStringList& args, CliIO& io)
{
    if (args.size() != 1)
        return 2;
    const TDateTime date = parseMoment(args[0], u"yyyy-MM-dd"_s);
    DataFiles files;
    TAgenda& agenda = files.agenda();
    io.out << "IsFestivo: " << yesNo(IsFestivo(date)) << '\n'
           << "IsSabato: " << yesNo(IsSabato(date)) << '\n'
           << "IsFesta: " << yesNo(agenda.IsFesta(date)) << '\n'
           << "DayIndex: " << TAgenda::DayIndex(date) << '\n'
           << "Santi: " << agenda.SantoDelGiorno(date) << '\n';
    return 0;
}

} // namespace

void RegisterTariffCommands()
{
    RegisterCommand(u"tariffs"_s, u"tariffs"_s, tariffs);
    RegisterCommand(u"price"_s, u"price --tax \"GESTORE - NOME\" --from \"AAAA-MM-GG hh:mm:ss\" --to \"AAAA-MM-GG hh:mm:ss\""_s, price);
    RegisterCommand(u"compare"_s, u"compare --tax \"GESTORE - NOME\" --from \"AAAA-MM-GG hh:mm:ss\" --to \"AAAA-MM-GG hh:mm:ss\""_s, compare);
    RegisterCommand(u"day"_s, u"day AAAA-MM-GG"_s, day);
}

} // namespace vestrel::cli
