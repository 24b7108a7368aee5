#pragma once

#include "store/DataCollection.h"

#include <QString>

namespace vestrel {

class TAgenda;

// One day of a leap year in the calendar store: its saints and whether it is a holiday.
class TDayItem : public store::TDataCollectionItem {
public:
    static const store::ClassInfo& staticClassInfo();
    const store::ClassInfo& classInfo() const override { return staticClassInfo(); }

    // Day of the month, 1-31.
    quint8 Giorno() const { return m_giorno; }
    void SetGiorno(quint8 v) { assign(m_giorno, v); }
    // Month, 1-12.
    quint8 Mese() const { return m_mese; }
    void SetMese(quint8 v) { assign(m_mese, v); }
    QString Santi() const { return m_santi; }
    void SetSanti(const QString& v) { assign(m_santi, v); }
    // The calendar's holiday flag at (Giorno, Mese), so it holds in every year; that is why the
    // file gives Giorno and Mese first.
    bool IsFesta() const;
    void SetIsFesta(bool v);

private:
    TAgenda* agenda() const;

    quint8 m_giorno = 0;
    quint8 m_mese = 0;
    QString m_santi;
    // Only for an item outside a calendar.
    bool m_festa = false;
};

using TDayItems = store::TCollectionOf<TDayItem>;

} // namespace vestrel
