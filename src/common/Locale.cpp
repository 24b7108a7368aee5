#include "Locale.h"

#include <QLocale>

#include <array>
#include <optional>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

namespace {

struct Separators {
    QChar decimal;
    QChar thousands;
};

std::optional<Separators>& replaced()
{
    static std::optional<Separators> value;
    return value;
}

Separators systemSeparators()
{
    const QLocale system = QLocale::system();
    const QString decimal = system.decimalPoint();
    const QString group = system.groupSeparator();
    return {decimal.isEmpty() ? u'.' : decimal.front(), group.isEmpty() ? u',' : group.front()};
}

Separators current()
{
    return replaced() ? *replaced() : systemSeparators();
}

template <std::size_t N>
QString pick(const std::array<QString, N>& names, int oneBased)
{
    if (oneBased < 1 || oneBased > int(N))
        return {};
    return names[std::size_t(oneBased - 1)];
}

const std::array<QString, 12> LongMonths = {
    u"gennaio"_s, u"febbraio"_s, u"marzo"_s,    u"aprile"_s,  u"maggio"_s,   u"giugno"_s,
    u"luglio"_s,  u"agosto"_s,   u"settembre"_s, u"ottobre"_s, u"novembre"_s, u"dicembre"_s};
const std::array<QString, 12> ShortMonths = {u"gen"_s, u"feb"_s, u"mar"_s, u"apr"_s,
                                             u"mag"_s, u"giu"_s, u"lug"_s, u"ago"_s,
                                             u"set"_s, u"ott"_s, u"nov"_s, u"dic"_s};
const std::array<QString, 7> LongDays = {u"domenica"_s,  u"lunedì"_s,  u"martedì"_s, u"mercoledì"_s,
                                         u"giovedì"_s,   u"venerdì"_s, u"sabato"_s};
const std::array<QString, 7> ShortDays = {u"dom"_s, u"lun"_s, u"mar"_s, u"mer"_s,
                                          u"gio"_s, u"ven"_s, u"sab"_s};

} // namespace

QChar Locale::decimalSeparator()
{
    return current().decimal;
}

QChar Locale::thousandsSeparator()
{
    return current().thousands;
}

void Locale::setSeparators(QChar decimal, QChar thousands)
{
    replaced() = Separators{decimal, thousands};
}

void Locale::resetSeparators()
{
    replaced().reset();
}

QString Locale::longMonthName(int month)
{
    return pick(LongMonths, month);
}

QString Locale::shortMonthName(int month)
{
    return pick(ShortMonths, month);
}

QString Locale::longDayName(int day)
{
    return pick(LongDays, day);
}

QString Locale::shortDayName(int day)
{
    return pick(ShortDays, day);
}

} // namespace vestrel
