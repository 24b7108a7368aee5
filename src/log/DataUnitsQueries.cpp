// The log's range and grouping queries. Each walks the records once in start order and stops at
// the first record that starts after the upper bound.

#include "DataUnits.h"

#include "common/Clock.h"
#include "common/Formats.h"

#include <QHash>

#include <climits>
#include <cmath>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

namespace {

// Calls take(record) for each record inside the range; `unranged` is the lower bound that
// means "every record".
template <class Take>
void walk(const TDataUnitsItems& units, TDateTime upper, TDateTime lower, TDateTime unranged, Take take)
{
    const bool ranged = lower != unranged;
    for (int i = 0, count = units.Count(); i < count; ++i) {
        const TDataUnitsItem& record = *units[i];
        const TDateTime start = record.I();
        if (!ranged || (start >= lower && start <= upper))
            take(record);
        else if (start > upper)
            return;
    }
}

// Consecutive records with the same key form one group.
template <class Key>
void sumConsecutive(const TDataUnitsItems& units, TDataUnitsItems& result, TDateTime upper,
                    TDateTime lower, Key key)
{
    int filled = 0;
    TDataUnitsItem* group = nullptr;
    decltype(key(0.0)) groupKey{};
    walk(units, upper, lower, 0, [&](const TDataUnitsItem& record) {
        const auto k = key(record.I());
        if (group && k == groupKey) {
            group->Accumulate(record);
        } else {
            group = result.CopyAt(filled++, record);
            groupKey = k;
        }
    });
    result.Truncate(filled);
}

// Year and month of a start; values that are no date all fall in one group of their own.
qint64 monthKey(TDateTime start)
{
    if (!std::isfinite(start) || std::fabs(start) > 3.0e6)
        return LLONG_MIN;
    const DateParts date = DecodeDate(start);
    return qint64(date.year) * 12 + date.month;
}

} // namespace

void TDataUnits::SelectRange(TDataUnitsItems& result, TDateTime upper, TDateTime lower) const
{
    int filled = 0;
    walk(m_units, upper, lower, -1, [&](const TDataUnitsItem& record) { result.CopyAt(filled++, record); });
    result.Truncate(filled);
}

void TDataUnits::SumByDay(TDataUnitsItems& result, TDateTime upper, TDateTime lower) const
{
    // Truncated, the day a record started. NaN never equals itself: such records stand alone.
    sumConsecutive(m_units, result, upper, lower, [](TDateTime start) { return std::trunc(start); });
}

void TDataUnits::SumByMonth(TDataUnitsItems& result, TDateTime upper, TDateTime lower) const
{
    sumConsecutive(m_units, result, upper, lower, monthKey);
}

void TDataUnits::SumByYear(TDataUnitsItems& result, TDateTime upper, TDateTime lower) const
{
    sumConsecutive(m_units, result, upper, lower, [](TDateTime start) {
        const qint64 month = monthKey(start);
        return month == LLONG_MIN ? month : (month - 1) / 12;
    });
}

void TDataUnits::SumByConnection(TDataUnitsItems& result, TDateTime upper, TDateTime lower) const
{
    int filled = 0;
    // The same result as IndexOfConnection on the groups, without its scan and its lower-casing
    // of every name: records of one name share the name's characters (see shareName), so the
    // group of a record is found by where its name lies, and a name's lower-case form is made
    // only when that place is first seen.
    QHash<const QChar*, TDataUnitsItem*> byPlace;
    QHash<QString, TDataUnitsItem*> byLowerName;
    const QChar* lastPlace = nullptr;
    TDataUnitsItem* lastGroup = nullptr;
    walk(m_units, upper, lower, 0, [&](const TDataUnitsItem& record) {
        const QString& name = record.N();
        if (lastGroup && name.constData() == lastPlace) {
            lastGroup->Accumulate(record);
            return;
        }
        TDataUnitsItem*& group = byPlace[name.constData()];
        if (group) {
            group->Accumulate(record);
        } else {
            TDataUnitsItem*& same = byLowerName[name.toLower()];
            if (same)
                same->Accumulate(record);
            else
                same = result.CopyAt(filled++, record);
            group = same;
        }
        lastPlace = name.constData();
        lastGroup = group;
    });
    result.Truncate(filled);
}

QString TDataUnits::TodaySummary() const
{
    const TDateTime now = Now();
    TDataUnitsItems today;
    SumByDay(today, now, DateOf(now));
    if (today.Count() == 0)
        return {};
    const TDataUnitsItem& group = *today[0];
    return u"Durata: "_s + group.DurationText() + u" - Spesa: "_s + FormatLire(group.L());
}

} // namespace vestrel
