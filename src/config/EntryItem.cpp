#include "EntryItem.h"

#include "common/StringHelpers.h"

#include "platform/DialUpService.h"

namespace vestrel {

using namespace store;
using namespace Qt::Literals::StringLiterals;

QString ManualStartKey()
{
    return u"***123ManualStart321***"_s;
}

QString ManualStartCaption()
{
    return u"Avvio manuale"_s;
}

TEntryItem::TEntryItem()
{
    m_applications.OnError = &ReportApplicationError;
}

const ClassInfo& TEntryItem::staticClassInfo()
{
    using T = TEntryItem;
    static const EnumNames kinds = {"keRAS", "keManual", "keTAPI"};
    static const ClassInfo info =
        ClassBuilder<T>("TEntryItem", &TDataCollectionItem::staticClassInfo())
            .string("Nome", &T::Nome, &T::SetNome)
            .string("Descrizione", &T::Descrizione, &T::SetDescrizione)
            .string("TaxName", &T::TaxName, &T::SetTaxName)
            .boolean("AutoDisconnect", &T::AutoDisconnect, &T::SetAutoDisconnect)
            .integer("TimeOutConnection", &T::TimeOutConnection, &T::SetTimeOutConnection)
            .integer("RetryTime", &T::RetryTime, &T::SetRetryTime)
            .integer("DialTime", &T::DialTime, &T::SetDialTime)
            .boolean("AskDisconnect", &T::AskDisconnect, &T::SetAskDisconnect)
            .collection("Applications", qNonConstOverload<>(&T::Applications))
            .enumeration("Kind", &T::Kind, &T::SetKind, kinds)
            .build();
    return info;
}

void TEntryItem::SetTaxName(const QString& v)
{
    assign(m_taxName, TrimBlanks(v));
}

int TEntryItems::IndexOfName(const QString& name) const
{
    for (int i = 0; i < Count(); ++i)
        if ((*this)[i]->Nome() == name)
            return i;
    return -1;
}

TEntryItem* TEntryItems::FindOrAdd(const QString& name, TKindEntry kind)
{
    const int index = IndexOfName(name);
    if (index >= 0)
        return (*this)[index];
    TEntryItem* entry = Add();
    entry->SetNome(name);
    entry->SetKind(kind);
    return entry;
}

void TEntryItems::AssignTax(const QString& entryName, const QString& taxName)
{
    if (TrimBlanks(entryName).isEmpty())
        return;
    TKindEntry kind = keTAPI;
    if (entryName == ManualStartKey())
        kind = keManual;
    else if (platform::DialUpService::instance().isEntry(entryName))
        kind = keRAS;
    FindOrAdd(entryName, kind)->SetTaxName(taxName);
}

const QStringList& TEntryItems::RasEntriesWithTax(const QString& taxName)
{
    m_queryResult.clear();
    const platform::DialUpResult<QStringList> known = platform::DialUpService::instance().entries();
    for (int i = 0; i < Count(); ++i) {
        const TEntryItem* entry = (*this)[i];
        if (entry->TaxName() == taxName && entry->Kind() == keRAS && known.ok()
            && known.value.contains(entry->Nome()))
            m_queryResult.append(entry->Nome());
    }
    return m_queryResult;
}

} // namespace vestrel
