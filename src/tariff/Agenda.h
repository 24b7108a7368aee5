#pragma once

#include "DayItem.h"
#include "HolidayCalendar.h"
#include "MurphyItem.h"

#include "common/DateTime.h"
#include "store/NestedObjects.h"
#include "store/PersistentComponent.h"

#include <QByteArray>
#include <QStringList>

#include <bitset>

namespace vestrel {

// The calendar store ("Calendar.dat"): which days are holidays, the saints of every day, and the
// humorous laws drawn for signatures and hints. A new store holds the built-in laws and saints.
class TAgenda : public store::TPersistentComponent, public HolidayCalendar {
public:
    // Laws beyond this position can be drawn but are never marked as shown.
    static constexpr int MaxShownLaws = 3001;

    explicit TAgenda(QObject* owner = nullptr);
    ~TAgenda() override;

    static const store::ClassInfo& staticClassInfo();
    const store::ClassInfo& classInfo() const override { return staticClassInfo(); }

    TMurphyItems& Murphy() { return m_murphy; }
    // One item per day of a leap year, from 1 January.
    TDayItems& Giorni() { return m_giorni; }
    const TDayItems& Giorni() const { return m_giorni; }
    // 366 lines, one per day of a leap year: the saints and feasts separated by "-".
    store::TStrings& SanctiDays() { return m_sanctiDays; }
    // A law file name, only recorded.
    QString LoadingFile() const { return m_loadingFile; }
    void SetLoadingFile(const QString& v) { assign(m_loadingFile, v); }
    // An opaque block kept in the file as "Data" and never interpreted.
    bool HasData() const { return !m_data.isEmpty(); }
    QByteArray Data() const { return m_data; }
    void SetData(const QByteArray& v) { assign(m_data, v); }

    // The holiday table behind every TDayItem::IsFesta; positions outside 1-31 / 1-12 hold nothing.
    bool HolidayFlag(int day, int month) const;
    void SetHolidayFlag(int day, int month, bool festa);
    // The factory holidays: the fixed national ones.
    static bool DefaultFesta(int day, int month);

    // The day and month is in the holiday table, or the date is Easter Monday. Sundays are the
    // cost engine's business.
    bool IsFesta(TDateTime date) const override;
    // Position of the date's day and month in the leap year 1996 (0-365).
    static int DayIndex(TDateTime date);
    // Saints of the date's day; raises when Giorni has no item for it.
    QString SantoDelGiorno(TDateTime date) const;
    struct DayText {
        QString text;
        TDayItem* item = nullptr;
    };
    // "d mmmm yyyy" CR saints; withEaster prefixes "Pasqua " or "Lunedì dell'Angelo ".
    DayText DayDescription(TDateTime date, bool withEaster) const;
    // Rebuilds Giorni from SanctiDays with the factory holidays.
    void BuildGiorni();
    // A law's text; every law comes once before any comes again.
    QString RandomMurphy();
    int ShownCount() const { return m_shownCount; }
    // Replaces the laws with those of a text file of records: chapter, title, law, corollaries,
    // each record ended by a line of 46 asterisks.
    void ImportMurphy(const QString& fileName);

    // Builds an empty Giorni, then raises OnLoaded.
    void DoLoaded() override;

private:
    void fillMurphy(const QStringList& lines);

    TMurphyItems m_murphy{this};
    TDayItems m_giorni{this};
    store::TStrings m_sanctiDays{[this] { SetModified(true); }};
    QString m_loadingFile;
    QByteArray m_data;
    bool m_holidays[31][12] = {};
    std::bitset<MaxShownLaws> m_shown;
    int m_shownCount = 0;
};

} // namespace vestrel
