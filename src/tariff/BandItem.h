#pragma once

#include "TariffTypes.h"

#include "common/DateTime.h"
#include "store/DataCollection.h"

namespace vestrel {

// One time slot of a band table: [TimeBegin, TimeEnd), the last slot ending at EndOfDay.
class TBandItem : public store::TDataCollectionItem {
public:
    TBandItem() = default;

    static const store::ClassInfo& staticClassInfo();
    const store::ClassInfo& classInfo() const override { return staticClassInfo(); }

    TFasciaOraria Tipo() const { return m_tipo; }
    void SetTipo(TFasciaOraria value) { assign(m_tipo, value); }
    TDateTime TimeBegin() const { return m_timeBegin; }
    void SetTimeBegin(TDateTime value);
    TDateTime TimeEnd() const { return m_timeEnd; }
    void SetTimeEnd(TDateTime value);

    // The limits as milliseconds of the day, so a slot is found by exact integer comparison
    // whatever rounding produced the stored fractions.
    qint64 BeginMs() const { return m_beginMs; }
    qint64 EndMs() const { return m_endMs; }

private:
    TFasciaOraria m_tipo = foRidotta;
    TDateTime m_timeBegin = 0;
    TDateTime m_timeEnd = EndOfDay;
    qint64 m_beginMs = 0;
    qint64 m_endMs = MSecsPerDay - 1;
};

// A band table: contiguous slots in increasing time order.
class TBandItems : public store::TCollectionOf<TBandItem> {
public:
    using TCollectionOf::TCollectionOf;
};

} // namespace vestrel
