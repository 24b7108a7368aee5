#include "BandItem.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vestrel {

namespace {
// A limit in milliseconds from midnight. A value that is not a number matches no moment, and
// values far outside a day are clamped, so the conversion stays defined.
qint64 limitMs(TDateTime time, qint64 ifNotANumber)
{
    if (std::isnan(time))
        return ifNotANumber;
    return DateTimeToMSecs(std::clamp(time, -2.0, 2.0));
}
} // namespace

const store::ClassInfo& TBandItem::staticClassInfo()
{
    using T = TBandItem;
    static const store::EnumNames bands = {"foPunta", "foIntera", "foRidotta", "foNone"};
    static const store::ClassInfo info =
        store::ClassBuilder<T>("TBandItem", &store::TDataCollectionItem::staticClassInfo())
            .enumeration("Tipo", &T::Tipo, &T::SetTipo, bands)
            .floating("TimeBegin", &T::TimeBegin, &T::SetTimeBegin)
            .floating("TimeEnd", &T::TimeEnd, &T::SetTimeEnd)
            .build();
    return info;
}

void TBandItem::SetTimeBegin(TDateTime value)
{
    m_beginMs = limitMs(value, std::numeric_limits<qint64>::max());
    assign(m_timeBegin, value);
}

void TBandItem::SetTimeEnd(TDateTime value)
{
    m_endMs = limitMs(value, std::numeric_limits<qint64>::min());
    assign(m_timeEnd, value);
}

} // namespace vestrel
