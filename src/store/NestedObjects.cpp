#include "NestedObjects.h"

namespace vestrel::store {

const ClassInfo& TStrings::staticClassInfo()
{
    static const ClassInfo info = ClassBuilder<TStrings>("TStrings", nullptr)
                                      .stringList("Strings", &TStrings::Lines, &TStrings::SetLines)
                                      .build();
    return info;
}

void TStrings::SetLines(const QStringList& lines)
{
    if (lines == m_lines)
        return;
    m_lines = lines;
    if (m_onChange)
        m_onChange();
}

void TStrings::Add(const QString& line)
{
    m_lines.append(line);
    if (m_onChange)
        m_onChange();
}

const ClassInfo& TFont::staticClassInfo()
{
    using T = TFont;
    static const EnumNames pitches = {"fpDefault", "fpVariable", "fpFixed"};
    static const EnumNames styles = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
    static const ClassInfo info = ClassBuilder<T>("TFont", nullptr)
                                      .integer("Charset", &T::Charset, &T::SetCharset, &CharsetIdents())
                                      .integer("Color", &T::Color, &T::SetColor, &ColorIdents())
                                      .integer("Height", &T::Height, &T::SetHeight)
                                      .string("Name", &T::Name, &T::SetName)
                                      .enumeration("Pitch", &T::Pitch, &T::SetPitch, pitches)
                                      .withDefault(fpDefault)
                                      .integer("Size", &T::Size, &T::SetSize)
                                      .notStored()
                                      .setOf("Style", &T::Style, &T::SetStyle, styles)
                                      .build();
    return info;
}

} // namespace vestrel::store
