#include "MurphyItem.h"

#include "common/StringHelpers.h"

namespace vestrel {

using namespace store;
using namespace Qt::Literals::StringLiterals;

const ClassInfo& TMurphyItem::staticClassInfo()
{
    using T = TMurphyItem;
    static const ClassInfo info =
        ClassBuilder<T>("TMurphyItem", &TDataCollectionItem::staticClassInfo())
            .string("Capitolo", &T::Capitolo, &T::SetCapitolo)
            .string("Titolo", &T::Titolo, &T::SetTitolo)
            .string("Legge", &T::Legge, &T::SetLegge)
            .nested("Corollari", qNonConstOverload<>(&T::Corollari))
            .build();
    return info;
}

QString TMurphyItem::Text() const
{
    QString text = m_titolo;
    if (m_legge != m_titolo)
        text += u"\r\n"_s + m_legge;
    if (m_corollari.Count() > 0) {
        text += u"\r\n"_s;
        for (const QString& line : m_corollari.Lines())
            text += line + u"\r\n"_s;
    }
    return TrimBlanks(text);
}

} // namespace vestrel
