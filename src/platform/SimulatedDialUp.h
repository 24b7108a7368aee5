#pragma once

#include "DialUpService.h"

#include <QMap>

#include <vector>

namespace vestrel::platform {

// A scripted dial-up service: a list of entries with their saved logins, and an optional failure
// that every call reports until it is cleared.
class SimulatedDialUp final : public DialUpService {
public:
    struct Entry {
        QString name;
        DialUpCredentials credentials;
    };

    SimulatedDialUp() = default;
    explicit SimulatedDialUp(std::vector<Entry> entries) : m_entries(std::move(entries)) {}

    void addEntry(const QString& name, const DialUpCredentials& credentials = {});
    void removeEntry(const QString& name);
    // Every call fails with `code` until it is set back to DialUpOk; `text` is its errorText.
    void setFailure(DialUpCode code, const QString& text = {});

    DialUpResult<QStringList> entries() override;
    DialUpResult<DialUpCredentials> entryCredentials(const QString& entry) override;
    DialUpCode setEntryCredentials(const QString& entry, const QString& userName,
                                   const QString& password, bool removePassword) override;
    QString errorText(DialUpCode code) const override;

private:
    Entry* find(const QString& name);

    std::vector<Entry> m_entries;
    DialUpCode m_failure = DialUpOk;
    QMap<DialUpCode, QString> m_failureTexts;
};

} // namespace vestrel::platform
