#pragma once

#include "ConnectionData.h"
#include "DataUnitsItem.h"

#include "store/PersistentComponent.h"

#include <QSet>

namespace vestrel {

// The connection log, "Connections.dat": one record per finished connection, in ascending
// order of start. Its records are a plain collection, so changing them marks nothing modified;
// the operations below save or mark the log themselves.
class TDataUnits : public store::TPersistentComponent {
public:
    explicit TDataUnits(QObject* owner = nullptr);
    ~TDataUnits() override;

    static const store::ClassInfo& staticClassInfo();
    const store::ClassInfo& classInfo() const override { return staticClassInfo(); }

    TDataUnitsItems& Units() { return m_units; }
    const TDataUnitsItems& Units() const { return m_units; }

    // Logs a finished connection and saves the log at once.
    void AddConnection(const TConnectionData& data);
    // Inserts a copy in start order; no save, no modification mark.
    void InsertSorted(const TDataUnitsItem& record);
    // A record with these five fields (the others 0 or empty), through InsertSorted.
    void InsertValues(qint32 pulses, const QString& name, double lire, TDateTime end, TDateTime start);
    // -1 when the log is empty or its last record starts no later than `start` (append);
    // otherwise the first record starting at or after `start`.
    int PositionForStart(TDateTime start) const;
    // Removes a record of Units and marks the log modified, for the autosave.
    void DeleteRecord(TDataUnitsItem* record);
    // After a record of Units was edited in place: moves it back to its place in start order
    // (the queries rely on it) and marks the log modified.
    void RecordChanged(TDataUnitsItem* record);

    // Copies of the records starting within [lower, upper], bounds included; a lower bound of -1
    // selects every record. The result list is cleared first; each copy's Origin is its record.
    void SelectRange(TDataUnitsItems& result, TDateTime upper, TDateTime lower) const;
    // Groups of the records within [lower, upper]; a lower bound of 0 takes every record. A group
    // is a copy of its first record with the pulses, cost and duration of the others added.
    void SumByDay(TDataUnitsItems& result, TDateTime upper, TDateTime lower) const;
    void SumByMonth(TDataUnitsItems& result, TDateTime upper, TDateTime lower) const;
    void SumByYear(TDataUnitsItems& result, TDateTime upper, TDateTime lower) const;
    // One group per connection name, case ignored, in order of first appearance.
    void SumByConnection(TDataUnitsItems& result, TDateTime upper, TDateTime lower) const;

    // "Durata: 2 h 5 min 10 sec - Spesa: 1.234" for the connections of today; empty when none.
    QString TodaySummary() const;

    // The tab-separated text form (see LogText.h), with the program's messages. ExportText is
    // false when the file could not be written; ImportText is true when it saved the log.
    bool ExportText(const QString& fileName) const;
    bool ImportText(const QString& fileName);
    // Takes over an old release's Paradox table and saves; raises VestrelError when the table
    // cannot be read, leaving the log as it was.
    void ImportOldTable(const QString& tableName);

    // Puts the records back in start order when the file holds them out of order.
    void DoLoaded() override;

    // Marks the log modified and saves it, so a failed save leaves the change pending for the
    // next save instead of losing it.
    void SaveNow();

private:
    // Records of one connection share one copy of its name: fewer strings to keep, and a query
    // that copies records touches one hot string instead of one per record.
    void shareName(TDataUnitsItem& record);

    TDataUnitsItems m_units;
    QSet<QString> m_names;
};

// Makes "TDataUnits" known to the store registry (vestrel-cli resave).
void RegisterLogStores();

} // namespace vestrel
