#pragma once

#include "store/DataCollection.h"
#include "store/NestedObjects.h"

#include <QString>

namespace vestrel {

// One humorous law of the calendar store.
class TMurphyItem : public store::TDataCollectionItem {
public:
    static const store::ClassInfo& staticClassInfo();
    const store::ClassInfo& classInfo() const override { return staticClassInfo(); }

    QString Capitolo() const { return m_capitolo; }
    void SetCapitolo(const QString& v) { assign(m_capitolo, v); }
    QString Titolo() const { return m_titolo; }
    void SetTitolo(const QString& v) { assign(m_titolo, v); }
    QString Legge() const { return m_legge; }
    void SetLegge(const QString& v) { assign(m_legge, v); }
    store::TStrings& Corollari() { return m_corollari; }
    const store::TStrings& Corollari() const { return m_corollari; }

    // Titolo, then Legge when it differs, then the corollaries, one per line, trimmed.
    QString Text() const;

private:
    QString m_capitolo;
    QString m_titolo;
    QString m_legge;
    store::TStrings m_corollari{[this] { SetModified(true); }};
};

using TMurphyItems = store::TCollectionOf<TMurphyItem>;

} // namespace vestrel
