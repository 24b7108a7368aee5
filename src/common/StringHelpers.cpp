#include "StringHelpers.h"

namespace vestrel {

QString TrimBlanks(const QString& text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && text[begin].unicode() <= u' ')
        ++begin;
    while (end > begin && text[end - 1].unicode() <= u' ')
        --end;
    return text.mid(begin, end - begin);
}

QString ReplaceAll(const QString& text, const QString& find, const QString& replacement)
{
    if (find.isEmpty())
        return text;
    QString result = text;
    return result.replace(find, replacement);
}

QString ScreenLines(const QString& text)
{
    QString lines = text;
    return lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
}

QString StripLineBreaks(const QString& text)
{
    QString result = text;
    result.replace(u'\r', u' ');
    result.remove(u'\n');
    return result;
}

bool IsNumeric(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return false;
    for (const QChar c : trimmed) {
        const bool digit = c >= u'0' && c <= u'9';
        if (!digit && c != u'\b' && c != u'\r')
            return false;
    }
    return true;
}

QString PadRight(const QString& text, int length, QChar fill)
{
    return text.leftJustified(length, fill);
}

QString Token(const QString& text, int position, const QString& separator)
{
    if (position < 1)
        return {};
    if (separator.isEmpty())
        return position == 1 ? text : QString();
    qsizetype start = 0;
    for (int field = 1; field < position; ++field) {
        const qsizetype next = text.indexOf(separator, start);
        if (next < 0)
            return {};
        start = next + separator.size();
    }
    const qsizetype end = text.indexOf(separator, start);
    return end < 0 ? text.mid(start) : text.mid(start, end - start);
}

QString TextBefore(const QString& separator, const QString& text)
{
    const qsizetype at = separator.isEmpty() ? -1 : text.indexOf(separator);
    return at < 0 ? text : text.left(at);
}

QString TextAfter(const QString& separator, const QString& text)
{
    const qsizetype at = separator.isEmpty() ? -1 : text.indexOf(separator);
    return at < 0 ? QString() : text.mid(at + separator.size());
}

QString RemoveExtension(const QString& fileName)
{
    const qsizetype nameStart = fileName.lastIndexOf(u'/') + 1;
    const qsizetype dot = fileName.lastIndexOf(u'.');
    if (dot <= nameStart)
        return fileName;
    return fileName.left(dot);
}

} // namespace vestrel
