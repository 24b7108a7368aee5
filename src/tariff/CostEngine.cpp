#include "CostEngine.h"

#include "HolidayCalendar.h"
#include "TaxItem.h"

#include "common/Clock.h"
#include "common/DateFormat.h"
#include "common/Dates.h"
#include "common/VestrelError.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <limits>

// The engine works on whole days and milliseconds of the day, converting each moment once: a
// connection is priced with integer arithmetic, and a piece's seconds are those SecondsOf gives
// for its span.

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int Sunday = 1;
constexpr int Saturday = 7;
constexpr qint64 EndOfDayMs = MSecsPerDay - 1;
// 1 January 10000 and its mirror: the moments a date-time can hold.
constexpr double MomentLimit = 2958466.0;

// A moment as the time stamp splits it: whole days (counted backwards before day 0) and the
// milliseconds of the time of day, which always count forwards.
struct Stamp {
    qint64 day;
    qint64 ms;
    qint64 linear() const { return day * MSecsPerDay + ms; }
};

Stamp stampOf(TDateTime moment)
{
    if (!(std::abs(moment) < MomentLimit))
        throw VestrelError(u"Data e ora non valide!"_s);
    const qint64 ms = DateTimeToMSecs(moment);
    if (ms >= 0)
        return {ms / MSecsPerDay, ms % MSecsPerDay};
    return {-((-ms) / MSecsPerDay), (-ms) % MSecsPerDay};
}

int weekdayOf(qint64 day)
{
    // Day 0 (30 December 1899) was a Saturday; 1 = Sunday … 7 = Saturday.
    return int(((day % 7) + 7 + 6) % 7) + 1;
}

bool festivoDay(qint64 day)
{
    return weekdayOf(day) == Sunday || HolidayCalendar::instance().IsFesta(double(day));
}

// SecondsOf of a span given in milliseconds: a part of exactly 999 ms counts to the next second.
qint64 secondsOfMs(qint64 ms)
{
    if (ms < 0)
        throw VestrelError(withDetail(u"Errore durante la conversione del tempo in secondi"_s,
                                      u"L'intervallo di tempo non può essere minore di 0"_s, 1));
    return ms / 1000 + (ms % 1000 == 999 ? 1 : 0);
}

// Position of the slot holding the millisecond t of the day: the first with
// TimeBegin <= t < TimeEnd, or at the very end of the day the first that ends at EndOfDay.
int slotAt(const TBandItems& table, qint64 t)
{
    const int count = table.Count();
    for (int i = 0; i < count; ++i) {
        const TBandItem& slot = *table[i];
        if (slot.BeginMs() <= t && t < slot.EndMs())
            return i;
    }
    if (t >= EndOfDayMs) {
        for (int i = 0; i < count; ++i)
            if (table[i]->EndMs() == EndOfDayMs)
                return i;
    }
    throw VestrelError(u"L'orario "_s + FormatDateTime(u"h.nn"_s, double(t) / double(MSecsPerDay))
                       + u" non rientra in nessuna fascia!"_s);
}

void pieceDone(bool processEvents, const ProgressCallback& progress, double lire)
{
    if ((progress || processEvents) && QCoreApplication::instance())
        QCoreApplication::processEvents();
    if (progress)
        progress(lire);
}

} // namespace

bool IsFestivo(TDateTime date)
{
    return festivoDay(stampOf(date).day);
}

bool IsSabato(TDateTime date)
{
    return weekdayOf(stampOf(date).day) == Saturday;
}

TDateTime DropMilliseconds(TDateTime moment)
{
    const Stamp s = stampOf(moment);
    const TDateTime time = double(s.ms - s.ms % 1000) / double(MSecsPerDay);
    return s.day < 0 ? double(s.day) - time : double(s.day) + time;
}

const TBandItems& TTaxItem::tableOfDay(qint64 day) const
{
    if (festivoDay(day))
        return m_bandsFestivi;
    if (weekdayOf(day) == Saturday)
        return m_bandsSabato;
    return m_bandsFeriali;
}

const TBandItems& TTaxItem::BandsOfDay(TDateTime date) const
{
    return tableOfDay(stampOf(date).day);
}

const TBandItem& TTaxItem::BandAt(TDateTime moment) const
{
    const Stamp s = stampOf(moment);
    const TBandItems& table = tableOfDay(s.day);
    return *table[slotAt(table, s.ms)];
}

TFasciaOraria TTaxItem::FasciaAt(TDateTime moment) const
{
    return BandAt(moment).Tipo();
}

TFasciaOraria TTaxItem::FasciaNow() const
{
    return FasciaAt(Now());
}

double TTaxItem::SecondsPerScatto(TFasciaOraria band) const
{
    switch (band) {
    case foPunta:
        return m_scattiPunta;
    case foIntera:
        return m_scattiIntera;
    case foRidotta:
        return m_scattiRidotta;
    default:
        throw VestrelError(u"Fascia inesistente!"_s);
    }
}

double TTaxItem::SecondsPerScattoNow() const
{
    return SecondsPerScatto(FasciaNow());
}

double TTaxItem::CostPerScatto(TFasciaOraria band) const
{
    switch (band) {
    case foIntera:
        return m_costoFissoIntera;
    case foRidotta:
        return m_costoFissoRidotta;
    default:
        return m_costoFissoPunta;
    }
}

TTaxCost TTaxItem::AnswerCost(TDateTime moment) const
{
    if (m_bonusDisponibile > 0)
        return {};
    const Stamp s = stampOf(moment);
    return answerIn(tableOfDay(s.day), s.ms);
}

TTaxCost TTaxItem::answerIn(const TBandItems& table, qint64 ms) const
{
    if (m_bonusDisponibile > 0)
        return {};
    const TFasciaOraria band = table[slotAt(table, ms)]->Tipo();
    if (band != foPunta && band != foIntera && band != foRidotta)
        throw VestrelError(u"Fascia oraria non valida!"_s);
    if (m_tipo == ttTat)
        return {CostPerScatto(band), 0};
    return {m_scattiAllaRisposta * CostPerScatto(band), quint32(m_scattiAllaRisposta)};
}

TTaxCost TTaxItem::SegmentCost(TFasciaOraria band, TDateTime pieceEnd, TDateTime pieceStart,
                               TDateTime connectionStart, quint32& remainder) const
{
    const qint64 before =
        pieceStart > connectionStart ? SecondsOf(pieceStart - connectionStart) : 0;
    return pieceCost(band, before, SecondsOf(pieceEnd - pieceStart), remainder);
}

TTaxCost TTaxItem::pieceCost(TFasciaOraria band, qint64 before, qint64 secs,
                             quint32& remainder) const
{
    // The first BonusDisponibile seconds of the connection are free and count towards the first
    // period of the two-rate pricing.
    const qint64 bonus = m_bonusDisponibile;
    if (bonus > before) {
        const qint64 free = bonus - before;
        before = bonus;
        secs = secs > free ? secs - free : 0;
    }
    if (m_tipo == ttTat)
        return {TatCost(band, before, secs), 0};
    return ScattiCost(band, secs, remainder);
}

double TTaxItem::TatCost(TFasciaOraria band, qint64 before, qint64 secs) const
{
    if (secs == 0)
        return 0;
    double rate1, rate2;
    switch (band) {
    case foPunta:
        rate1 = m_tatPunta1;
        rate2 = m_tatPunta2;
        break;
    case foIntera:
        rate1 = m_tatIntera1;
        rate2 = m_tatIntera2;
        break;
    default:
        rate1 = m_tatRidotta1;
        rate2 = m_tatRidotta2;
        break;
    }
    if (m_minLimite > 0 && before + secs > m_minLimiteSeconds) {
        const qint64 first = m_minLimiteSeconds > before ? m_minLimiteSeconds - before : 0;
        return double(first) * rate1 / 60 + double(secs - first) * rate2 / 60;
    }
    return double(secs) * rate1 / 60;
}

TTaxCost TTaxItem::ScattiCost(TFasciaOraria band, qint64 secs, quint32& remainder) const
{
    if (secs == 0)
        return {};
    const double total = double(secs + remainder);
    const double period = SecondsPerScatto(band);
    // The editor lets a period of 0 through; it would divide by zero at every tick.
    if (!(period > 0) || std::isinf(period))
        throw VestrelError(u"La tariffa "_s + DisplayName()
                           + u" non ha una durata valida dello scatto nella fascia "_s
                           + FasciaName(band) + u'!');
    const double pulses = std::trunc(total / period);
    if (pulses > double(std::numeric_limits<quint32>::max()))
        throw VestrelError(u"Il numero di scatti della tariffa "_s + DisplayName()
                           + u" è fuori dai limiti!"_s);
    const quint32 scatti = quint32(pulses);
    remainder = quint32(std::max(0.0, std::trunc(total - period * scatti)));
    return {CostPerScatto(band) * scatti, scatti};
}

TTaxCost TTaxItem::costInDay(const TBandItems& table, qint64 day, qint64 startMs, qint64 endMs,
                             qint64 connectionStart, quint32& remainder, bool processEvents,
                             const ProgressCallback& progress, double lireBefore) const
{
    const qint64 dayMs = day * MSecsPerDay;
    TTaxCost result;
    int index = slotAt(table, startMs);
    const int last = slotAt(table, endMs);
    const auto piece = [&](TFasciaOraria band, qint64 fromMs, qint64 toMs) {
        const qint64 from = dayMs + fromMs;
        const qint64 before = from > connectionStart ? secondsOfMs(from - connectionStart) : 0;
        result += pieceCost(band, before, secondsOfMs(toMs - fromMs), remainder);
        pieceDone(processEvents, progress, lireBefore + result.Lire);
    };
    while (index != last) {
        const TBandItem& q = *table[index];
        piece(q.Tipo(), startMs, q.EndMs());
        startMs = q.EndMs();
        // A table out of order walks past its last slot instead of reaching the end's slot.
        if (++index >= table.Count())
            throw VestrelError(u"Indice della lista fuori dai limiti ("_s + QString::number(index)
                               + u')');
    }
    piece(table[index]->Tipo(), startMs, endMs);
    return result;
}

TTaxCost TTaxItem::DayCost(TDateTime end, TDateTime start, TDateTime connectionStart,
                           quint32& remainder, bool processEvents,
                           const ProgressCallback& progress) const
{
    const Stamp s = stampOf(start);
    const Stamp e = stampOf(end);
    if (s.day != e.day)
        throw VestrelError(
            u"L'intervallo di tempo non è corretto: il giorno di inizio è diverso da quello di fine!"_s);
    return costInDay(tableOfDay(s.day), s.day, s.ms, e.ms, stampOf(connectionStart).linear(),
                     remainder, processEvents, progress, 0);
}

TTaxCost TTaxItem::IntervalCost(TDateTime start, TDateTime end, bool processEvents,
                                const ProgressCallback& progress) const
{
    if (!(std::abs(start) < MomentLimit) || !(std::abs(end) < MomentLimit))
        throw VestrelError(u"L'intervallo di tempo non è corretto!"_s);
    Stamp s = stampOf(start);
    Stamp e = stampOf(end);
    s.ms -= s.ms % 1000;
    e.ms -= e.ms % 1000;
    if (s.linear() > e.linear())
        throw VestrelError(u"L'intervallo di tempo non è corretto!"_s);
    const qint64 connectionStart = s.linear();
    const TBandItems& firstTable = tableOfDay(s.day);
    TTaxCost result = answerIn(firstTable, s.ms);
    quint32 remainder = 0;
    qint64 fromMs = s.ms;
    for (qint64 day = s.day; day < e.day; ++day) {
        const TBandItems& table = day == s.day ? firstTable : tableOfDay(day);
        result += costInDay(table, day, fromMs, EndOfDayMs, connectionStart, remainder,
                            processEvents, progress, result.Lire);
        fromMs = 0;
    }
    const TBandItems& lastTable = e.day == s.day ? firstTable : tableOfDay(e.day);
    result += costInDay(lastTable, e.day, fromMs, e.ms, connectionStart, remainder, processEvents,
                        progress, result.Lire);
    if (m_tipo == ttTat)
        result.Scatti = 0;
    return result;
}

} // namespace vestrel
