#include "DayItem.h"

#include "Agenda.h"

namespace vestrel {

using namespace store;

const ClassInfo& TDayItem::staticClassInfo()
{
    using T = TDayItem;
    static const ClassInfo info =
        ClassBuilder<T>("TDayItem", &TDataCollectionItem::staticClassInfo())
            .integer("Giorno", &T::Giorno, &T::SetGiorno)
            .integer("Mese", &T::Mese, &T::SetMese)
            .string("Santi", &T::Santi, &T::SetSanti)
            .boolean("IsFesta", &T::IsFesta, &T::SetIsFesta)
            .build();
    return info;
}

TAgenda* TDayItem::agenda() const
{
    return Collection() ? dynamic_cast<TAgenda*>(Collection()->Owner()) : nullptr;
}

bool TDayItem::IsFesta() const
{
    if (const TAgenda* a = agenda())
        return a->HolidayFlag(m_giorno, m_mese);
    return m_festa;
}

void TDayItem::SetIsFesta(bool v)
{
    if (TAgenda* a = agenda())
        a->SetHolidayFlag(m_giorno, m_mese, v);
    else
        m_festa = v;
}

} // namespace vestrel
