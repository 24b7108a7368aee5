#include "DesktopEntry.h"

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

QString QuoteExecArgument(const QString& argument)
{
    QString out = u"\""_s;
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            out += u'\\';
        else if (c == u'%')
            out += u'%';
        out += c;
    }
    return out + u'"';
}

std::optional<QStringList> SplitExecLine(const QString& exec)
{
    QStringList args;
    QString current;
    bool inArgument = false;
    bool quoted = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (c == u'%' && i + 1 < exec.size() && exec.at(i + 1) == u'%') {
            current += c;
            ++i;
            inArgument = true;
        } else if (quoted) {
            if (c == u'\\' && i + 1 < exec.size())
                current += exec.at(++i);
            else if (c == u'"')
                quoted = false;
            else
                current += c;
        } else if (c == u'"') {
            quoted = true;
            inArgument = true;
        } else if (c == u' ' || c == u'\t') {
            if (inArgument)
                args.append(current);
            current.clear();
            inArgument = false;
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (quoted)
        return std::nullopt;
    if (inArgument)
        args.append(current);
    return args;
}

QString EscapeDesktopValue(const QString& value)
{
    QString out;
    for (const QChar c : value) {
        switch (c.unicode()) {
        case u'\\': out += u"\\\\"_s; break;
        case u'\n': out += u"\\n"_s; break;
        case u'\t': out += u"\\t"_s; break;
        case u'\r': out += u"\\r"_s; break;
        default: out += c;
        }
    }
    if (out.startsWith(u' '))
        out.replace(0, 1, u"\\s"_s);
    return out;
}

namespace {

QString unescape(const QString& value)
{
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != u'\\' || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const QChar next = value.at(++i);
        switch (next.unicode()) {
        case u's': out += u' '; break;
        case u'n': out += u'\n'; break;
        case u't': out += u'\t'; break;
        case u'r': out += u'\r'; break;
        case u'\\': out += u'\\'; break;
        default: out += c; out += next;
        }
    }
    return out;
}

} // namespace

std::optional<QHash<QString, QString>> ParseDesktopEntry(const QString& content)
{
    QHash<QString, QString> keys;
    bool found = false;
    bool inGroup = false;
    for (const QString& raw : content.split(u'\n')) {
        const QString line = raw.endsWith(u'\r') ? raw.chopped(1) : raw;
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
            continue;
        if (trimmed.startsWith(u'[')) {
            inGroup = trimmed == u"[Desktop Entry]"_s;
            found = found || inGroup;
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (!inGroup || eq < 0)
            continue;
        const QString key = line.left(eq).trimmed();
        if (!keys.contains(key))
            keys.insert(key, unescape(line.mid(eq + 1).trimmed()));
    }
    if (!found)
        return std::nullopt;
    return keys;
}

} // namespace vestrel
