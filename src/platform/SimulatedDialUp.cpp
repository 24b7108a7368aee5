#include "SimulatedDialUp.h"

#include <algorithm>

namespace vestrel::platform {

void SimulatedDialUp::addEntry(const QString& name, const DialUpCredentials& credentials)
{
    if (Entry* entry = find(name))
        entry->credentials = credentials;
    else
        m_entries.push_back({name, credentials});
}

void SimulatedDialUp::removeEntry(const QString& name)
{
    std::erase_if(m_entries, [&](const Entry& e) { return e.name == name; });
}

void SimulatedDialUp::setFailure(DialUpCode code, const QString& text)
{
    m_failure = code;
    if (!text.isEmpty())
        m_failureTexts.insert(code, text);
}

SimulatedDialUp::Entry* SimulatedDialUp::find(const QString& name)
{
    const auto it = std::find_if(m_entries.begin(), m_entries.end(),
                                 [&](const Entry& e) { return e.name == name; });
    return it == m_entries.end() ? nullptr : &*it;
}

DialUpResult<QStringList> SimulatedDialUp::entries()
{
    if (m_failure != DialUpOk)
        return {m_failure, {}};
    QStringList names;
    for (const Entry& e : m_entries)
        if (!e.name.isEmpty())
            names.append(e.name);
    return {DialUpOk, names};
}

DialUpResult<DialUpCredentials> SimulatedDialUp::entryCredentials(const QString& entry)
{
    if (m_failure != DialUpOk)
        return {m_failure, {}};
    const Entry* e = find(entry);
    if (!e)
        return {DialUpNoEntry, {}};
    return {DialUpOk, e->credentials};
}

DialUpCode SimulatedDialUp::setEntryCredentials(const QString& entry, const QString& userName,
                                                const QString& password, bool removePassword)
{
    if (m_failure != DialUpOk)
        return m_failure;
    Entry* e = find(entry);
    if (!e)
        return DialUpNoEntry;
    e->credentials.userName = userName;
    e->credentials.password = removePassword ? QString() : password;
    e->credentials.hasPassword = !removePassword;
    return DialUpOk;
}

QString SimulatedDialUp::errorText(DialUpCode code) const
{
    const auto it = m_failureTexts.constFind(code);
    return it != m_failureTexts.cend() ? *it : DialUpService::errorText(code);
}

} // namespace vestrel::platform
