#include "DataUnits.h"

#include "LogText.h"
#include "OldTables.h"

#include "common/VestrelError.h"
#include "store/StoreRegistry.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <vector>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

const store::ClassInfo& TDataUnits::staticClassInfo()
{
    static const store::ClassInfo info =
        store::ClassBuilder<TDataUnits>("TDataUnits", &TPersistentComponent::staticClassInfo())
            .collection("Units", [](TDataUnits& log) -> TDataUnitsItems& { return log.Units(); })
            .build();
    return info;
}

TDataUnits::TDataUnits(QObject* owner) : TPersistentComponent(owner)
{
    // A damaged log offers to save what could be read. The setter marks the store modified,
    // which a constructor default must not do.
    SetAskOnLoadError(true);
    SetModified(false);
}

TDataUnits::~TDataUnits()
{
    SaveOnDestroy();
}

void TDataUnits::SaveNow()
{
    SetModified(true);
    Save();
}

void TDataUnits::AddConnection(const TConnectionData& data)
{
    TDataUnitsItem record;
    record.SetFrom(data);
    InsertSorted(record);
    SaveNow();
}

int TDataUnits::PositionForStart(TDateTime start) const
{
    const int count = m_units.Count();
    if (count == 0 || !(m_units[count - 1]->I() > start))
        return -1;
    for (int i = 0; i < count; ++i)
        if (m_units[i]->I() >= start)
            return i;
    return -1;
}

void TDataUnits::InsertSorted(const TDataUnitsItem& record)
{
    const int position = PositionForStart(record.I());
    TDataUnitsItem* copy = m_units.AddCopy(record);
    copy->SetOrigin(nullptr); // only query results lead back to a record
    shareName(*copy);
    if (position >= 0)
        m_units.Move(m_units.Count() - 1, position);
}

void TDataUnits::InsertValues(qint32 pulses, const QString& name, double lire, TDateTime end,
                              TDateTime start)
{
    TDataUnitsItem record;
    record.SetS(pulses);
    record.SetN(name);
    record.SetL(lire);
    record.SetF(end);
    record.SetI(start);
    InsertSorted(record);
}

void TDataUnits::DeleteRecord(TDataUnitsItem* record)
{
    const int index = m_units.IndexOf(record);
    if (index < 0)
        return;
    m_units.Delete(index);
    SetModified(true);
}

void TDataUnits::RecordChanged(TDataUnitsItem* record)
{
    const int index = m_units.IndexOf(record);
    if (index < 0)
        return;
    const int last = m_units.Count() - 1;
    m_units.Move(index, last);
    // Where InsertSorted would put it among the others.
    for (int i = 0; i < last; ++i)
        if (m_units[i]->I() >= record->I()) {
            if (m_units[last - 1]->I() > record->I())
                m_units.Move(last, i);
            break;
        }
    shareName(*record);
    SetModified(true);
}

void TDataUnits::DoLoaded()
{
    // A start that is not a number sorts first, so the order is always a strict weak one.
    const auto key = [](const TDataUnitsItem* r) {
        return std::isnan(r->I()) ? -std::numeric_limits<double>::infinity() : r->I();
    };
    bool sorted = true;
    for (int i = 1; i < m_units.Count() && sorted; ++i)
        sorted = !(key(m_units[i]) < key(m_units[i - 1]));
    if (!sorted) {
        std::vector<int> order(std::size_t(m_units.Count()));
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(),
                         [&](int a, int b) { return key(m_units[a]) < key(m_units[b]); });
        TDataUnitsItems ordered;
        ordered.Reserve(m_units.Count());
        for (const int i : order)
            ordered.AddCopy(*m_units[i]);
        m_units.RemoveAllForLoad();
        m_units.Reserve(ordered.Count());
        for (int i = 0; i < ordered.Count(); ++i)
            m_units.AddCopy(*ordered[i])->SetOrigin(nullptr);
    }
    m_names.clear();
    for (int i = 0; i < m_units.Count(); ++i)
        shareName(*m_units[i]);
    TPersistentComponent::DoLoaded();
}

void TDataUnits::shareName(TDataUnitsItem& record)
{
    auto it = m_names.constFind(record.N());
    if (it == m_names.cend())
        it = m_names.insert(record.N());
    record.SetN(*it);
}

bool TDataUnits::ExportText(const QString& fileName) const
{
    return ExportLogText(fileName, m_units);
}

bool TDataUnits::ImportText(const QString& fileName)
{
    return ImportLogText(fileName, *this);
}

void TDataUnits::ImportOldTable(const QString& tableName)
{
    // The whole table is read before anything is inserted, so a table that fails half-way
    // leaves no records behind to be taken over twice.
    std::vector<OldConnectionRow> rows;
    try {
        rows = ReadOldTable(tableName);
    } catch (const VestrelError& e) {
        throw VestrelError(withDetail(u"Impossibile caricare i dati dal file: "_s + tableName, e.message()));
    }
    for (const OldConnectionRow& row : rows)
        InsertValues(row.pulses(), QString(), row.Costo, row.end(), row.start());
    SaveNow();
}

void RegisterLogStores()
{
    store::StoreRegistry::Register("TDataUnits", [] { return std::make_unique<TDataUnits>(); });
}

} // namespace vestrel
