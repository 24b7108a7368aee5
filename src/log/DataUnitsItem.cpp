#include "DataUnitsItem.h"

#include "common/Formats.h"

#include <cmath>

namespace vestrel {

using store::ClassBuilder;
using store::ClassInfo;
using store::TDataCollectionItem;

const ClassInfo& TDataUnitsItem::staticClassInfo()
{
    using T = TDataUnitsItem;
    // Floats and strings are written when not 0 or empty, the integers always.
    static const ClassInfo info = ClassBuilder<T>("TDataUnitsItem", &TDataCollectionItem::staticClassInfo())
                                      .floating("I", &T::I, &T::SetI)
                                      .floating("F", &T::F, &T::SetF)
                                      .integer("S", &T::S, &T::SetS)
                                      .floating("L", &T::L, &T::SetL)
                                      .floating("E", &T::E, &T::setStoredEuro)
                                      .string("N", &T::N, &T::SetN)
                                      .string("Z", &T::Z, &T::SetZ)
                                      .integer("Y", &T::Y, &T::SetY)
                                      .integer("T", &T::T, &T::SetT)
                                      .integer("R", &T::R, &T::SetR)
                                      .build();
    return info;
}

double TDataUnitsItem::E() const
{
    return LireToEuro(m_lire);
}

void TDataUnitsItem::SetFrom(const TConnectionData& data)
{
    m_start = data.Start;
    m_end = data.End;
    m_pulses = data.Pulses;
    m_lire = data.Lire;
    m_name = data.Name;
    m_ip = data.IpAddress;
    m_speed = data.Speed;
    m_sent = data.BytesSent;
    m_received = data.BytesReceived;
}

void TDataUnitsItem::Assign(const TDataUnitsItem& source)
{
    m_start = source.m_start;
    m_end = source.m_end;
    m_pulses = source.m_pulses;
    m_lire = source.m_lire;
    m_name = source.m_name;
    m_ip = source.m_ip;
    m_speed = source.m_speed;
    m_sent = source.m_sent;
    m_received = source.m_received;
    m_origin = const_cast<TDataUnitsItem*>(&source);
}

void TDataUnitsItem::Accumulate(const TDataUnitsItem& other)
{
    // Wraps rather than overflows, whatever a damaged file holds.
    m_pulses = qint32(quint32(m_pulses) + quint32(other.m_pulses));
    m_lire += other.m_lire;
    m_end += other.Duration();
}

TDateTime TDataUnitsItem::Duration() const
{
    return std::fabs(m_end - m_start);
}

QString TDataUnitsItem::DurationText() const
{
    return FormatDuration(Duration());
}

int TDataUnitsItems::IndexOfConnection(const QString& name) const
{
    const QString wanted = name.toLower();
    for (int i = 0; i < Count(); ++i)
        if ((*this)[i]->N().toLower() == wanted)
            return i;
    return -1;
}

TDataUnitsItem* TDataUnitsItems::AddCopy(const TDataUnitsItem& source)
{
    TDataUnitsItem* copy = Add();
    copy->Assign(source);
    return copy;
}

TDataUnitsItem* TDataUnitsItems::CopyAt(int index, const TDataUnitsItem& source)
{
    if (index >= Count())
        return AddCopy(source);
    TDataUnitsItem* item = (*this)[index];
    item->Assign(source);
    return item;
}

void TDataUnitsItems::Truncate(int count)
{
    while (Count() > count)
        Delete(Count() - 1);
}

} // namespace vestrel
