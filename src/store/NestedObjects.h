#pragma once

#include "IdentMaps.h"
#include "Schema.h"

#include <QStringList>

#include <functional>

namespace vestrel::store {

// Nested objects report their changes to whoever owns them (normally: mark the store modified).
using ChangeNotify = std::function<void()>;

// A string list property: written as Name.Strings, left out when it holds no lines.
class TStrings : public TPersistent {
public:
    explicit TStrings(ChangeNotify onChange = {}) : m_onChange(std::move(onChange)) {}

    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }

    const QStringList& Lines() const { return m_lines; }
    void SetLines(const QStringList& lines);
    int Count() const { return int(m_lines.size()); }
    void Add(const QString& line);
    void Clear() { SetLines({}); }

private:
    QStringList m_lines;
    ChangeNotify m_onChange;
};

enum TFontPitch { fpDefault, fpVariable, fpFixed };
enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };

// A font as a nested object: Font.Charset, Font.Color, … A font created in code starts as the
// platform's default font.
class TFont : public TPersistent {
public:
    explicit TFont(ChangeNotify onChange = {}) : m_onChange(std::move(onChange)) {}

    static const ClassInfo& staticClassInfo();
    const ClassInfo& classInfo() const override { return staticClassInfo(); }

    qint32 Charset() const { return m_charset; }
    void SetCharset(qint32 v) { assign(m_charset, v); }
    qint32 Color() const { return m_color; }
    void SetColor(qint32 v) { assign(m_color, v); }
    qint32 Height() const { return m_height; }
    void SetHeight(qint32 v) { assign(m_height, v); }
    QString Name() const { return m_name; }
    void SetName(const QString& v) { assign(m_name, v); }
    TFontPitch Pitch() const { return m_pitch; }
    void SetPitch(TFontPitch v) { assign(m_pitch, v); }
    // Points at the classic 96 dots per inch; derived from Height, never written.
    qint32 Size() const { return -m_height * 72 / 96; }
    void SetSize(qint32 points) { SetHeight(-points * 96 / 72); }
    // Bit i = TFontStyle i.
    quint32 Style() const { return m_style; }
    void SetStyle(quint32 v) { assign(m_style, v); }

private:
    template <class V>
    void assign(V& field, const V& value)
    {
        if (field == value)
            return;
        field = value;
        if (m_onChange)
            m_onChange();
    }

    qint32 m_charset = DEFAULT_CHARSET;
    qint32 m_color = clWindowText;
    qint32 m_height = -11;
    QString m_name = QStringLiteral("MS Sans Serif");
    TFontPitch m_pitch = fpDefault;
    quint32 m_style = 0;
    ChangeNotify m_onChange;
};

} // namespace vestrel::store
