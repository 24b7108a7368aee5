#include "Schema.h"

namespace vestrel::store {

IdentMap::IdentMap(std::initializer_list<std::pair<const char*, qint32>> entries)
{
    for (const auto& [name, value] : entries)
        m_entries.emplace_back(QByteArray(name), value);
}

const QByteArray* IdentMap::nameOf(qint32 value) const
{
    for (const auto& e : m_entries)
        if (e.second == value)
            return &e.first;
    return nullptr;
}

std::optional<qint32> IdentMap::valueOf(QByteArrayView name) const
{
    for (const auto& e : m_entries)
        if (SameName(e.first, name))
            return e.second;
    return std::nullopt;
}

ClassInfo::ClassInfo(QByteArray name, const ClassInfo* parent, std::vector<PropInfo> own,
                     std::vector<DefinedProp> defined)
    : m_name(std::move(name)), m_parent(parent)
{
    if (parent) {
        m_all = parent->m_all;
        m_defined = parent->m_defined;
    }
    for (auto& p : own)
        m_all.push_back(std::move(p));
    for (auto& d : defined)
        m_defined.push_back(std::move(d));
}

const PropInfo* ClassInfo::find(QByteArrayView name, std::size_t& hint) const
{
    const std::size_t n = m_all.size();
    std::size_t i = hint < n ? hint : 0;
    for (std::size_t k = 0; k < n; ++k) {
        if (SameName(m_all[i].name, name)) {
            hint = i + 1;
            return &m_all[i];
        }
        if (++i == n)
            i = 0;
    }
    return nullptr;
}

const DefinedProp* ClassInfo::findDefined(QByteArrayView name) const
{
    for (const auto& d : m_defined)
        if (SameName(d.name, name))
            return &d;
    return nullptr;
}

} // namespace vestrel::store
