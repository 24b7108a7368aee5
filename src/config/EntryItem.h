#pragma once

#include "ProcessItem.h"

#include "store/DataCollection.h"

#include <QString>
#include <QStringList>

namespace vestrel {

enum TKindEntry { keRAS, keManual, keTAPI };

// Nome of the pseudo-entry of a count started by hand, and what the user sees of it.
QString ManualStartKey();
QString ManualStartCaption();

// The options of one kind of connection: a dial-up entry, a number seen on the telephone line,
// or the manual start.
class TEntryItem : public store::TDataCollectionItem {
public:
    TEntryItem();

    static const store::ClassInfo& staticClassInfo();
    const store::ClassInfo& classInfo() const override { return staticClassInfo(); }

    // The key, compared case-sensitively.
    QString Nome() const { return m_nome; }
    void SetNome(const QString& v) { assign(m_nome, v); }
    QString Descrizione() const { return m_descrizione; }
    void SetDescrizione(const QString& v) { assign(m_descrizione, v); }
    // Display name of the tariff of this entry; trimmed when set.
    QString TaxName() const { return m_taxName; }
    void SetTaxName(const QString& v);
    bool AutoDisconnect() const { return m_autoDisconnect; }
    void SetAutoDisconnect(bool v) { assign(m_autoDisconnect, v); }
    // Seconds.
    qint32 TimeOutConnection() const { return m_timeOutConnection; }
    void SetTimeOutConnection(qint32 v) { assign(m_timeOutConnection, v); }
    // Seconds before calling again on a busy line.
    qint32 RetryTime() const { return m_retryTime; }
    void SetRetryTime(qint32 v) { assign(m_retryTime, v); }
    // Seconds the device needs to dial.
    qint32 DialTime() const { return m_dialTime; }
    void SetDialTime(qint32 v) { assign(m_dialTime, v); }
    bool AskDisconnect() const { return m_askDisconnect; }
    void SetAskDisconnect(bool v) { assign(m_askDisconnect, v); }
    TProcessItems& Applications() { return m_applications; }
    const TProcessItems& Applications() const { return m_applications; }
    TKindEntry Kind() const { return m_kind; }
    void SetKind(TKindEntry v) { assign(m_kind, v); }

private:
    QString m_nome;
    QString m_descrizione;
    QString m_taxName;
    bool m_autoDisconnect = false;
    qint32 m_timeOutConnection = 3600;
    qint32 m_retryTime = 9;
    qint32 m_dialTime = 5;
    bool m_askDisconnect = true;
    TProcessItems m_applications{this};
    TKindEntry m_kind = keRAS;
};

// The Entrys collection of the settings store.
class TEntryItems : public store::TCollectionOf<TEntryItem> {
public:
    using TCollectionOf::TCollectionOf;

    // Position of the entry with exactly that Nome, or -1.
    int IndexOfName(const QString& name) const;
    // The entry of that name, unchanged; otherwise a new one at the end with Nome and Kind set.
    TEntryItem* FindOrAdd(const QString& name, TKindEntry kind);
    // Associates a tariff with an entry, adding the entry (of the kind its name suggests) when
    // needed. A blank entry name changes nothing.
    void AssignTax(const QString& entryName, const QString& taxName);
    // Names of the dial-up entries associated with the tariff that the system still knows, in
    // collection order. The list is reused: the next call overwrites it.
    const QStringList& RasEntriesWithTax(const QString& taxName);

private:
    QStringList m_queryResult;
};

} // namespace vestrel
