#pragma once

#include "ConnectionData.h"

#include "store/DataCollection.h"

#include <QString>

namespace vestrel {

// One logged connection. Its fields are plain: setting one marks nothing modified, since the
// log's collection has no owner and the log saves or marks explicitly.
class TDataUnitsItem : public store::TDataCollectionItem {
public:
    static const store::ClassInfo& staticClassInfo();
    const store::ClassInfo& classInfo() const override { return staticClassInfo(); }

    // Start (inizio) and end (fine).
    TDateTime I() const { return m_start; }
    void SetI(TDateTime v) { m_start = v; }
    TDateTime F() const { return m_end; }
    void SetF(TDateTime v) { m_end = v; }
    // Charging pulses (scatti).
    qint32 S() const { return m_pulses; }
    void SetS(qint32 v) { m_pulses = v; }
    // Cost in Lire; the Euro amount is always derived from it.
    double L() const { return m_lire; }
    void SetL(double v) { m_lire = v; }
    double E() const;
    // Connection name: entry name, dialled number or "Avvio manuale".
    const QString& N() const { return m_name; }
    void SetN(const QString& v) { m_name = v; }
    // Dynamic IP address, line speed in bits per second, bytes transmitted and received.
    const QString& Z() const { return m_ip; }
    void SetZ(const QString& v) { m_ip = v; }
    qint32 Y() const { return m_speed; }
    void SetY(qint32 v) { m_speed = v; }
    quint32 T() const { return m_sent; }
    void SetT(quint32 v) { m_sent = v; }
    quint32 R() const { return m_received; }
    void SetR(quint32 v) { m_received = v; }

    void SetFrom(const TConnectionData& data);

    // Copies the fields and remembers the source, so a query result leads back to the log
    // record it came from. Origin is never written to a file.
    void Assign(const TDataUnitsItem& source);
    TDataUnitsItem* Origin() const { return m_origin; }
    void SetOrigin(TDataUnitsItem* origin) { m_origin = origin; }

    // Adds another record's pulses, cost and duration, the duration by moving F.
    void Accumulate(const TDataUnitsItem& other);
    // |F - I|, in days.
    TDateTime Duration() const;
    // "2 h 5 min 10 sec".
    QString DurationText() const;

private:
    // What a file holds under E is read and ignored.
    void setStoredEuro(double) {}

    // Laid out without padding: a query may copy 200,000 of them.
    TDateTime m_start = 0;
    TDateTime m_end = 0;
    double m_lire = 0;
    QString m_name;
    QString m_ip;
    TDataUnitsItem* m_origin = nullptr;
    qint32 m_pulses = 0;
    qint32 m_speed = 0;
    quint32 m_sent = 0;
    quint32 m_received = 0;
};

// The log's ordered records, and the result list of its queries. Its items are never owned by
// a store, so nothing in it marks a store modified.
class TDataUnitsItems : public store::TCollectionOf<TDataUnitsItem> {
public:
    TDataUnitsItems() : TCollectionOf(static_cast<store::TPersistentComponent*>(nullptr)) {}

    // Position of the first record whose N equals the name, in lower case; -1 when none.
    int IndexOfConnection(const QString& name) const;
    // Appends a copy of the record (its Origin is the record).
    TDataUnitsItem* AddCopy(const TDataUnitsItem& source);
    // Makes the item at `index` a copy of the record, appending one when the list is shorter:
    // a query refilling its result list reuses the items it already has.
    TDataUnitsItem* CopyAt(int index, const TDataUnitsItem& source);
    // Drops the items from `count` on.
    void Truncate(int count);
};

} // namespace vestrel
